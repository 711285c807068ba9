#pragma once

#include <cstdint>

#include "path_buffer.h"

// Names one entry for as long as it is listed, whatever comes and goes
// around it; 0 names none. Ids grow down the list: an entry appended gets a
// greater id than every entry above it.
using EntryId = std::uintptr_t;

// The ordered list of files waiting for conversion, full paths in UTF-8. In
// the program it is the main dialog's list box; the list box is its only store.
class FileQueue {
public:
    virtual ~FileQueue() = default;

    virtual int Count() const = 0;
    virtual void Append(const char* path) = 0;
    virtual void ClearAll() = 0;
    // Fills `indices` with up to `capacity` selected indices in ascending
    // order and returns how many it filled.
    virtual int GetSelectedIndices(int* indices, int capacity) = 0;
    virtual void Delete(int index) = 0;
    // Copies entry `index` into `buffer`; false if there is no such entry.
    virtual bool Read(int index, PathBuffer& buffer) = 0;
    // How many folders of entry `index`'s path its MP3 keeps under the
    // output directory: 0 but for files found under a dropped folder.
    virtual int FoldersKept(int /*index*/) { return 0; }

    // The id of entry `index`; 0 when there is no such entry.
    virtual EntryId IdAt(int index) const = 0;
    // Where the entry `id` stands now; -1 when it is not listed.
    int IndexOf(EntryId id) const;
};

// True for names ending in .mpc, .mpp or .mp+ in any letter case.
bool IsMusepackFileName(const char* name);

// Removes every selected entry, the last index first, so every index still
// names the same entry when it is deleted.
void DeleteSelectedEntries(FileQueue& queue);
