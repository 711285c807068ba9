#pragma once

#include <set>
#include <string>
#include <vector>

#include "file_queue.h"

// A FileQueue held in memory, for builds and tests without a list box.
class MemoryFileQueue : public FileQueue {
public:
    int Count() const override { return static_cast<int>(m_entries.size()); }
    void Append(const char* path) override;
    void ClearAll() override;
    int GetSelectedIndices(int* indices, int capacity) override;
    void Delete(int index) override;
    bool Read(int index, PathBuffer& buffer) override;
    EntryId IdAt(int index) const override;

    void Select(int index);
    const std::vector<std::string>& Entries() const { return m_entries; }

private:
    std::vector<std::string> m_entries;
    std::vector<EntryId> m_ids;  // beside m_entries
    EntryId m_lastId = 0;
    std::set<int> m_selected;
};
