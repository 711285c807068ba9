#include "memory_file_queue.h"

#include <cstring>

void MemoryFileQueue::Append(const char* path) {
    m_entries.emplace_back(path);
    m_ids.push_back(++m_lastId);
}

void MemoryFileQueue::ClearAll() {
    m_entries.clear();
    m_ids.clear();
    m_selected.clear();
}

int MemoryFileQueue::GetSelectedIndices(int* indices, int capacity) {
    int count = 0;
    for (int index : m_selected) {
        if (count == capacity)
            break;
        indices[count++] = index;
    }
    return count;
}

// Like a list box: the selection moves with the entries after the deleted one.
void MemoryFileQueue::Delete(int index) {
    if (index < 0 || index >= static_cast<int>(m_entries.size()))
        return;
    m_entries.erase(m_entries.begin() + index);
    m_ids.erase(m_ids.begin() + index);
    std::set<int> shifted;
    for (int selected : m_selected) {
        if (selected < index)
            shifted.insert(selected);
        else if (selected > index)
            shifted.insert(selected - 1);
    }
    m_selected.swap(shifted);
}

bool MemoryFileQueue::Read(int index, PathBuffer& buffer) {
    if (index < 0 || index >= static_cast<int>(m_entries.size()))
        return false;
    const std::string& entry = m_entries[index];
    if (Utf16Length(entry) > PathBuffer::kMaxLength || entry.size() >= PathBuffer::kSize)
        return false;
    std::memcpy(buffer.m_text, entry.c_str(), entry.size() + 1);
    return true;
}

void MemoryFileQueue::Select(int index) {
    if (index >= 0 && index < static_cast<int>(m_entries.size()))
        m_selected.insert(index);
}

EntryId MemoryFileQueue::IdAt(int index) const {
    return index >= 0 && index < Count() ? m_ids[static_cast<std::size_t>(index)] : 0;
}
