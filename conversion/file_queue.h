#pragma once

#include "path_buffer.h"

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
};

// True for names ending in .mpc, .mpp or .mp+ in any letter case.
bool IsMusepackFileName(const char* name);

// Removes every selected entry, the last index first, so every index still
// names the same entry when it is deleted.
void DeleteSelectedEntries(FileQueue& queue);
