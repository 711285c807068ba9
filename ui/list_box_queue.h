#pragma once

#include <map>

#include "afx_listbox.h"
#include "file_queue.h"

// The main dialog's list box as the program's FileQueue: the control holds
// each entry as wide text and its id as the item's data. Entries come in
// through it alone, so that ids grow down the list.
class ListBoxQueue : public FileQueue {
public:
    explicit ListBoxQueue(CListBox& list) : m_list(list) {}

    int Count() const override { return m_list.GetCount(); }
    // Paths in UTF-8; every name Windows can hold is kept exactly.
    void Append(const char* path) override { AppendFromFolder(path, 0); }
    // A file found under a dropped folder, with the folders its MP3 keeps.
    void AppendFromFolder(const char* path, int foldersKept);
    void ClearAll() override;
    int GetSelectedIndices(int* indices, int capacity) override;
    void Delete(int index) override {
        m_foldersKept.erase(IdAt(index));
        m_list.DeleteString(index);
    }
    // False for no such entry, and for one longer than a PathBuffer holds:
    // a cut name could name a different file.
    bool Read(int index, PathBuffer& buffer) override;
    int FoldersKept(int index) override;
    EntryId IdAt(int index) const override;

private:
    CListBox& m_list;
    EntryId m_lastId = 0;
    std::map<EntryId, int> m_foldersKept;  // by id, of those that keep any
};
