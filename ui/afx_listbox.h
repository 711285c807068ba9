#pragma once

#include "afx_wnd.h"
#include "text_kinds.h"

// A list box control, in the manner of MFC's CListBox: the control holds the
// list, this object only sends it messages.
class CListBox : public CWnd {
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
    // The entry as the control holds it, and its length in UTF-16 code
    // units (LB_ERR for no such entry).
    Utf16Text GetTextWide(int index) const;
    int GetTextLengthWide(int index) const;

    // Appends wide text; the new entry's index, or LB_ERR.
    int AddStringWide(const wchar_t* text);
};
