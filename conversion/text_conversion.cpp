#include "text_conversion.h"

#include <cstdint>
#include <vector>

#include "text_encoding.h"

bool ToUtf16(const std::string& utf8, Utf16Text& utf16) {
    utf16.clear();
    bool wellFormed = true;
    for (std::size_t pos = 0; pos < utf8.size();) {
        const std::size_t start = pos;
        std::uint32_t c = NextCodePoint(utf8, pos);
        // A malformed sequence gives U+FFFD one byte on; the real one takes three.
        wellFormed = wellFormed && (c != kReplacementCharacter || pos - start == 3);
        if (c >= 0x10000) {
            c -= 0x10000;
            utf16 += static_cast<wchar_t>(0xD800 | c >> 10);
            c = 0xDC00 | (c & 0x3FF);
        }
        utf16 += static_cast<wchar_t>(c);
    }
    return wellFormed;
}

bool ToUtf8(const wchar_t* utf16, std::size_t length, std::string& utf8) {
    std::vector<std::uint16_t> units(utf16, utf16 + length);
    utf8.clear();
    return AppendUtf16AsUtf8(units.data(), units.size(), utf8);
}

std::string ToUtf8(const Utf16Text& utf16) {
    std::string utf8;
    ToUtf8(utf16.data(), utf16.size(), utf8);
    return utf8;
}
