#include "afx_listbox.h"

int CListBox::GetCount() const {
    return static_cast<int>(SendMessage(LB_GETCOUNT));
}

int CListBox::InsertString(int index, const char* text) {
    return static_cast<int>(
        SendMessage(LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text)));
}

void CListBox::ResetContent() {
    SendMessage(LB_RESETCONTENT);
}

int CListBox::GetSelItems(int maxItems, int* items) const {
    return static_cast<int>(SendMessage(LB_GETSELITEMS, static_cast<WPARAM>(maxItems),
                                        reinterpret_cast<LPARAM>(items)));
}

int CListBox::DeleteString(int index) {
    return static_cast<int>(SendMessage(LB_DELETESTRING, static_cast<WPARAM>(index)));
}

int CListBox::GetTextLen(int index) const {
    return static_cast<int>(SendMessage(LB_GETTEXTLEN, static_cast<WPARAM>(index)));
}

int CListBox::InitStorage(int items, UINT bytes) {
    return static_cast<int>(SendMessage(LB_INITSTORAGE, static_cast<WPARAM>(items), bytes));
}

void CListBox::Append(const char* path) {
    InsertString(-1, path);
}

void CListBox::ClearAll() {
    ResetContent();
}

int CListBox::GetSelectedIndices(int* indices, int capacity) {
    const int count = GetSelItems(capacity, indices);
    return count > 0 ? count : 0;
}

void CListBox::Delete(int index) {
    DeleteString(index);
}

bool CListBox::Read(int index, PathBuffer& buffer) {
    const int length = GetTextLen(index);
    if (length == LB_ERR || length < 0 || static_cast<unsigned>(length) > PathBuffer::kMaxLength)
        return false;
    return SendMessage(LB_GETTEXT, static_cast<WPARAM>(index),
                       reinterpret_cast<LPARAM>(buffer.m_text)) != LB_ERR;
}
