#pragma once

#include <cstddef>

// A fixed buffer for one path as the shell and the list box hand it over:
// at most 499 characters and the terminating NUL.
struct PathBuffer {
    static constexpr std::size_t kSize = 500;
    static constexpr std::size_t kMaxLength = kSize - 1;

    char m_text[kSize] = {};
};
