#pragma once

// UTF-8, as the program holds list entries, and the UTF-16 of the Windows "W"
// functions. Windows builds only.

#include <cstddef>
#include <string>
#include <vector>

// Wide text with traits of its own: the runtime's std::wstring would bring
// all of its compiled-in instance (tens of KB) into the program; this one
// compiles only what the program uses.
struct WideCharTraits : std::char_traits<wchar_t> {};
using WideString = std::basic_string<wchar_t, WideCharTraits>;

// NUL-terminated; empty (no NUL either) when `utf8` is not valid UTF-8.
std::vector<wchar_t> WideFromUtf8(const std::string& utf8);
std::string Utf8FromWide(const wchar_t* wide, std::size_t length);
