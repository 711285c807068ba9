#pragma once

#include <map>

#include "afx_wnd.h"
#include "file_queue.h"
#include "text_kinds.h"

// A list box control, in the manner of MFC's CListBox. It is the program's
// FileQueue: the control holds the list, this object only sends it messages.
class CListBox : public CWnd, public FileQueue {
public:
    int GetCount() const;
    void ResetContent();
    int GetSelItems(int maxItems, int* items) const;
    int DeleteString(int index);
    // Room for `items` more entries and `bytes` of their text, ahead of a
    // long run of insertions.
    int InitStorage(int items, UINT bytes);
    DWORD_PTR GetItemData(int index) const;
    int SetItemData(int index, DWORD_PTR data);
    int GetCaretIndex() const;
    int GetTopIndex() const;
    int SetTopIndex(int index);
    // The entry as the control holds it.
    Utf16Text GetTextWide(int index) const;

    // Each entry's key, its item data, given when first asked for and kept
    // as long as the entry: what the dialog keeps of an entry goes by it.
    DWORD_PTR KeyOf(int index);
    // A file found under a dropped folder, with the folders its MP3 keeps.
    void AppendFromFolder(const char* path, int foldersKept);

    // FileQueue: paths in UTF-8, held by the control as wide text.
    int Count() const override { return GetCount(); }
    void Append(const char* path) override;
    void ClearAll() override;
    int GetSelectedIndices(int* indices, int capacity) override;
    void Delete(int index) override;
    // False for no such entry, and for one longer than a PathBuffer holds:
    // a cut name could name a different file.
    bool Read(int index, PathBuffer& buffer) override;
    int FoldersKept(int index) override;

private:
    DWORD_PTR m_lastKey = 0;
    std::map<DWORD_PTR, int> m_foldersKept;  // by key
};
