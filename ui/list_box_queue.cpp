#include "list_box_queue.h"

#include <cstring>

#include "text_conversion.h"

void ListBoxQueue::AppendFromFolder(const char* path, int foldersKept) {
    Utf16Text wide;
    if (!ToUtf16(path, wide))
        return;
    const int index = m_list.AddStringWide(wide.c_str());
    if (index < 0)
        return;
    m_list.SetItemData(index, ++m_lastId);
    if (foldersKept != 0)
        m_foldersKept[m_lastId] = foldersKept;
}

void ListBoxQueue::ClearAll() {
    m_list.ResetContent();
    m_foldersKept.clear();
}

int ListBoxQueue::GetSelectedIndices(int* indices, int capacity) {
    const int count = m_list.GetSelItems(capacity, indices);
    return count > 0 ? count : 0;
}

bool ListBoxQueue::Read(int index, PathBuffer& buffer) {
    const int length = m_list.GetTextLengthWide(index);
    if (length < 0 || static_cast<unsigned>(length) > PathBuffer::kMaxLength)
        return false;
    const Utf16Text text = m_list.GetTextWide(index);
    if (text.size() != static_cast<std::size_t>(length))
        return false;
    std::string utf8;
    ToUtf8(text.c_str(), text.size(), utf8);
    if (utf8.size() >= PathBuffer::kSize)
        return false;
    std::memcpy(buffer.m_text, utf8.c_str(), utf8.size() + 1);
    return true;
}

int ListBoxQueue::FoldersKept(int index) {
    const auto found = m_foldersKept.find(IdAt(index));
    return found == m_foldersKept.end() ? 0 : found->second;
}

EntryId ListBoxQueue::IdAt(int index) const {
    return m_list.GetItemData(index);
}
