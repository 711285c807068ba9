#pragma once

#include <string>

// The kinds of text the program handles, each a type of its own, so that
// text of one kind passed where another is due does not compile:
//
// - UTF-8, std::string: the program's own text. List entries, every path of
//   a file the program opens, the tags and the words it shows.
// - AnsiText: the ANSI code page. The settings (the edit controls and the
//   settings file are 8-bit), the batch line, the tools' command line and
//   the environment the command processor reads.
// - OemText: the OEM code page, the bytes of the batch file as the command
//   processor reads them.
// - Utf16Text: the text of the Windows "W" functions and the list box.
//
// text_conversion.h holds every conversion between them. Each kind has
// traits of its own; that also keeps the runtime's compiled-in
// std::wstring (tens of KB) out of the program.
struct AnsiTraits : std::char_traits<char> {};
struct OemTraits : std::char_traits<char> {};
struct Utf16Traits : std::char_traits<wchar_t> {};

using AnsiText = std::basic_string<char, AnsiTraits>;
using OemText = std::basic_string<char, OemTraits>;
using Utf16Text = std::basic_string<wchar_t, Utf16Traits>;
