#include "text_encoding.h"

#include <vector>

void AppendUtf8(std::uint32_t codePoint, std::string& utf8) {
    if (codePoint < 0x80) {
        utf8 += static_cast<char>(codePoint);
        return;
    }
    char bytes[4];
    int count = 0;
    std::uint32_t lead = 0;
    if (codePoint < 0x800) {
        count = 2;
        lead = 0xC0;
    } else if (codePoint < 0x10000) {
        count = 3;
        lead = 0xE0;
    } else {
        count = 4;
        lead = 0xF0;
    }
    for (int i = count - 1; i > 0; --i) {
        bytes[i] = static_cast<char>(0x80 | (codePoint & 0x3F));
        codePoint >>= 6;
    }
    bytes[0] = static_cast<char>(lead | codePoint);
    utf8.append(bytes, count);
}

std::string Latin1ToUtf8(const char* text, std::size_t count) {
    std::string utf8;
    for (std::size_t i = 0; i < count; ++i)
        AppendUtf8(static_cast<unsigned char>(text[i]), utf8);
    return utf8;
}

bool AppendUtf16AsUtf8(const std::uint16_t* units, std::size_t count, std::string& utf8) {
    bool paired = true;
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t c = units[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < count && units[i + 1] >= 0xDC00 &&
            units[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = kReplacementCharacter;
            paired = false;
        }
        AppendUtf8(c, utf8);
    }
    return paired;
}

std::string Utf16ToUtf8(const unsigned char* bytes, std::size_t count, bool bigEndian) {
    std::vector<std::uint16_t> units(count / 2);
    for (std::size_t i = 0; i < units.size(); ++i) {
        const unsigned char* unit = bytes + 2 * i;
        units[i] =
            static_cast<std::uint16_t>(bigEndian ? unit[0] << 8 | unit[1] : unit[1] << 8 | unit[0]);
    }
    std::string utf8;
    AppendUtf16AsUtf8(units.data(), units.size(), utf8);
    return utf8;
}

std::uint32_t NextCodePoint(const std::string& utf8, std::size_t& pos) {
    const unsigned char lead = static_cast<unsigned char>(utf8[pos]);
    int continuation = 0;
    std::uint32_t c = 0;
    std::uint32_t minimum = 0;
    if (lead < 0x80) {
        ++pos;
        return lead;
    } else if (lead >= 0xC2 && lead < 0xE0) {
        continuation = 1;
        c = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead < 0xF0) {
        continuation = 2;
        c = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead < 0xF5) {
        continuation = 3;
        c = lead & 0x07;
        minimum = 0x10000;
    } else {
        ++pos;
        return kReplacementCharacter;
    }
    if (utf8.size() - pos <= static_cast<std::size_t>(continuation)) {
        ++pos;
        return kReplacementCharacter;
    }
    for (int i = 1; i <= continuation; ++i) {
        const unsigned char byte = static_cast<unsigned char>(utf8[pos + i]);
        if ((byte & 0xC0) != 0x80) {
            ++pos;
            return kReplacementCharacter;
        }
        c = c << 6 | (byte & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) {
        ++pos;
        return kReplacementCharacter;
    }
    pos += continuation + 1;
    return c;
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringAsciiCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    }
    return true;
}
