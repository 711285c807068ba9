#include "file_queue.h"

#include <cstring>

namespace {

char ToLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool IsMusepackFileName(const char* name) {
    const std::size_t length = std::strlen(name);
    if (length < 4)
        return false;
    const char* ending = name + length - 4;
    const char last = ToLower(ending[3]);
    return ending[0] == '.' && ToLower(ending[1]) == 'm' && ToLower(ending[2]) == 'p' &&
           (last == 'c' || last == 'p' || last == '+');
}

void DeleteSelectedEntries(FileQueue& queue) {
    int indices[kSelectionCapacity];
    const int count = queue.GetSelectedIndices(indices, kSelectionCapacity);
    for (int i = count - 1; i >= 0; --i)
        queue.Delete(indices[i]);
}

std::size_t Utf16Length(const std::string& utf8) {
    std::size_t length = 0;
    for (unsigned char c : utf8) {
        if ((c & 0xC0) != 0x80)
            ++length;
        if (c >= 0xF0)
            ++length;  // beyond the first 65,536: a surrogate pair
    }
    return length;
}
