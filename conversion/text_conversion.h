#pragma once

#include <cstddef>
#include <string>

#include "text_kinds.h"

// Every conversion between the kinds of text of text_kinds.h. Those that can
// lose a character return false when they did (the text is then the best
// the target kind can do); the others cannot.

// UTF-8 and UTF-16, by the one UTF-8 codec of the program (text_encoding.h).
// False for malformed UTF-8 (each bad byte becomes U+FFFD).
bool ToUtf16(const std::string& utf8, Utf16Text& utf16);
// False for an unpaired surrogate (it becomes U+FFFD).
bool ToUtf8(const wchar_t* utf16, std::size_t length, std::string& utf8);
std::string ToUtf8(const Utf16Text& utf16);  // unpaired surrogates become U+FFFD

// The ANSI code page, exactly: false when it has no place for a character
// (no best-fit look-alikes: "?" would name another file).
bool ToAnsi(const std::string& utf8, AnsiText& ansi);
std::string ToUtf8(const AnsiText& ansi);
Utf16Text ToUtf16(const AnsiText& ansi);

// The OEM code page the command processor reads batch files in; false when
// it lacks a character of the ANSI text or the conversion fails.
bool ToOem(const AnsiText& ansi, OemText& oem);

// ASCII text (names, switches the program writes itself), in any kind.
template <typename Text>
Text FromAscii(const char* ascii) {
    return Text(ascii, ascii + std::char_traits<char>::length(ascii));
}
