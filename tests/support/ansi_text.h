#pragma once

#include <string>

#include "text_kinds.h"

// The tests hold ANSI text as plain bytes; these cross to the program's type.
inline AnsiText Ansi(const std::string& bytes) {
    return AnsiText(bytes.begin(), bytes.end());
}

inline std::string Bytes(const AnsiText& ansi) {
    return std::string(ansi.begin(), ansi.end());
}
