#pragma once

#include <cstddef>
#include <string>

// Aborts with `what` on standard error, so libFuzzer records the input as a crash.
[[noreturn]] void FuzzFail(const char* what);

inline void FuzzCheck(bool condition, const char* what) {
    if (!condition)
        FuzzFail(what);
}

// Makes a private, empty temporary directory the current directory, once per process.
void EnterPrivateDirectory();

template <typename Text>
std::size_t CountChar(const Text& text, char c) {
    std::size_t count = 0;
    for (char x : text)
        count += x == c;
    return count;
}
