#pragma once

#include <cstddef>
#include <string>

// A buffer for one list entry as the list hands it over: a full path of at
// most 499 characters (UTF-16 code units, as Windows counts them) in UTF-8,
// where one such character takes at most three bytes, and the terminating NUL.
struct PathBuffer {
    static constexpr std::size_t kMaxLength = 499;
    static constexpr std::size_t kSize = kMaxLength * 3 + 1;

    char m_text[kSize] = {};
};

// The length of a UTF-8 text in UTF-16 code units.
std::size_t Utf16Length(const std::string& utf8);
