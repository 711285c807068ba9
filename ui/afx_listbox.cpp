#include "afx_listbox.h"

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

int CListBox::GetTextLengthWide(int index) const {
    return static_cast<int>(::SendMessageW(m_hWnd, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0));
}

Utf16Text CListBox::GetTextWide(int index) const {
    const int length = GetTextLengthWide(index);
    if (length == LB_ERR || length <= 0)
        return Utf16Text();
    Utf16Text text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT got = ::SendMessageW(m_hWnd, LB_GETTEXT, static_cast<WPARAM>(index),
                                       reinterpret_cast<LPARAM>(&text[0]));
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return text;
}

int CListBox::AddStringWide(const wchar_t* text) {
    return static_cast<int>(::SendMessageW(m_hWnd, LB_INSERTSTRING, static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>(text)));
}
