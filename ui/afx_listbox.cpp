#include "afx_listbox.h"

#include <cstring>

#include "text_conversion.h"

int CListBox::GetCount() const {
    return static_cast<int>(SendMessage(LB_GETCOUNT));
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

int CListBox::InitStorage(int items, UINT bytes) {
    return static_cast<int>(SendMessage(LB_INITSTORAGE, static_cast<WPARAM>(items), bytes));
}

DWORD_PTR CListBox::GetItemData(int index) const {
    const LRESULT data = SendMessage(LB_GETITEMDATA, static_cast<WPARAM>(index));
    return data == LB_ERR ? 0 : static_cast<DWORD_PTR>(data);
}

int CListBox::SetItemData(int index, DWORD_PTR data) {
    return static_cast<int>(
        SendMessage(LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data)));
}

int CListBox::GetCaretIndex() const {
    return static_cast<int>(SendMessage(LB_GETCARETINDEX));
}

int CListBox::GetTopIndex() const {
    return static_cast<int>(SendMessage(LB_GETTOPINDEX));
}

int CListBox::SetTopIndex(int index) {
    return static_cast<int>(SendMessage(LB_SETTOPINDEX, static_cast<WPARAM>(index)));
}

Utf16Text CListBox::GetTextWide(int index) const {
    const LRESULT length = ::SendMessageW(m_hWnd, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR || length <= 0)
        return Utf16Text();
    Utf16Text text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT got = ::SendMessageW(m_hWnd, LB_GETTEXT, static_cast<WPARAM>(index),
                                       reinterpret_cast<LPARAM>(&text[0]));
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return text;
}

// Entries are wide text: every name Windows can hold is kept exactly.
void CListBox::Append(const char* path) {
    Utf16Text wide;
    if (ToUtf16(path, wide))
        ::SendMessageW(m_hWnd, LB_INSERTSTRING, static_cast<WPARAM>(-1),
                       reinterpret_cast<LPARAM>(wide.c_str()));
}

DWORD_PTR CListBox::KeyOf(int index) {
    DWORD_PTR key = GetItemData(index);
    if (key == 0 && index >= 0 && index < GetCount()) {
        key = ++m_lastKey;
        SetItemData(index, key);
    }
    return key;
}

void CListBox::AppendFromFolder(const char* path, int foldersKept) {
    Utf16Text wide;
    if (!ToUtf16(path, wide))
        return;
    const LRESULT index = ::SendMessageW(m_hWnd, LB_INSERTSTRING, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(wide.c_str()));
    if (index < 0 || foldersKept == 0)
        return;
    SetItemData(static_cast<int>(index), ++m_lastKey);
    m_foldersKept[m_lastKey] = foldersKept;
}

int CListBox::FoldersKept(int index) {
    const auto found = m_foldersKept.find(GetItemData(index));
    return found == m_foldersKept.end() ? 0 : found->second;
}

void CListBox::ClearAll() {
    ResetContent();
    m_foldersKept.clear();
}

int CListBox::GetSelectedIndices(int* indices, int capacity) {
    const int count = GetSelItems(capacity, indices);
    return count > 0 ? count : 0;
}

void CListBox::Delete(int index) {
    DeleteString(index);
}

bool CListBox::Read(int index, PathBuffer& buffer) {
    const LRESULT length = ::SendMessageW(m_hWnd, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR || length < 0 || static_cast<unsigned>(length) > PathBuffer::kMaxLength)
        return false;
    wchar_t text[PathBuffer::kMaxLength + 1];
    const LRESULT got = ::SendMessageW(m_hWnd, LB_GETTEXT, static_cast<WPARAM>(index),
                                       reinterpret_cast<LPARAM>(text));
    if (got == LB_ERR || got != length)
        return false;
    std::string utf8;
    ToUtf8(text, static_cast<std::size_t>(got), utf8);
    if (utf8.size() >= PathBuffer::kSize)
        return false;
    std::memcpy(buffer.m_text, utf8.c_str(), utf8.size() + 1);
    return true;
}
