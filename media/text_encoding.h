#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

const std::uint32_t kReplacementCharacter = 0xFFFD;

void AppendUtf8(std::uint32_t codePoint, std::string& utf8);

std::string Latin1ToUtf8(const char* text, std::size_t count);

// UTF-16 without a byte order mark; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(const unsigned char* bytes, std::size_t count, bool bigEndian);
// UTF-16 code units appended as UTF-8; false when a surrogate was unpaired
// (it became U+FFFD).
bool AppendUtf16AsUtf8(const std::uint16_t* units, std::size_t count, std::string& utf8);

// The code point that starts at `pos`, moving `pos` past it. A malformed
// sequence gives U+FFFD and moves on by one byte.
std::uint32_t NextCodePoint(const std::string& utf8, std::size_t& pos);

// Letter case of the ASCII letters only, as file name extensions, variable
// names and tag keys compare.
char AsciiLower(char c);
bool EqualIgnoringAsciiCase(const std::string& a, const std::string& b);
