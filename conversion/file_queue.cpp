#include "file_queue.h"

#include <cstring>
#include <vector>

#include "text_conversion.h"
#include "text_encoding.h"

bool IsMusepackFileName(const char* name) {
    const std::size_t length = std::strlen(name);
    if (length < 4)
        return false;
    const char* ending = name + length - 4;
    const char last = AsciiLower(ending[3]);
    return ending[0] == '.' && AsciiLower(ending[1]) == 'm' && AsciiLower(ending[2]) == 'p' &&
           (last == 'c' || last == 'p' || last == '+');
}

// Ids grow down the list, so a binary search finds an entry among thousands
// in a dozen looks.
int FileQueue::IndexOf(EntryId id) const {
    int first = 0;
    int end = Count();
    while (first < end) {
        const int middle = first + (end - first) / 2;
        const EntryId there = IdAt(middle);
        if (there == id)
            return middle;
        if (there < id)
            first = middle + 1;
        else
            end = middle;
    }
    return -1;
}

void DeleteSelectedEntries(FileQueue& queue) {
    std::vector<int> indices(static_cast<std::size_t>(queue.Count()) + 1);
    const int count = queue.GetSelectedIndices(indices.data(), static_cast<int>(indices.size()));
    for (int i = count - 1; i >= 0; --i)
        queue.Delete(indices[i]);
}

std::size_t Utf16Length(const std::string& utf8) {
    Utf16Text utf16;
    ToUtf16(utf8, utf16);
    return utf16.size();
}
