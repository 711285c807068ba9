// The ANSI and OEM code pages, through Windows' own tables.
#include <windows.h>

#include <vector>

#include "text_conversion.h"

namespace {

// The text of a code page as UTF-16.
Utf16Text Utf16From(UINT codePage, const char* text, std::size_t size) {
    const int length = static_cast<int>(size);
    const int wideLength = MultiByteToWideChar(codePage, 0, text, length, nullptr, 0);
    Utf16Text wide(wideLength > 0 ? static_cast<std::size_t>(wideLength) : 0, L'\0');
    if (wideLength > 0)
        MultiByteToWideChar(codePage, 0, text, length, &wide[0], wideLength);
    return wide;
}

// No best-fit mapping: a character the code page lacks must not turn
// silently into a different, existing character of another name. False when
// one has no place. A code page without these flags (UTF-8) holds every one.
template <typename Text>
bool FromUtf16(UINT codePage, const Utf16Text& wide, Text& text) {
    text.clear();
    if (wide.empty())
        return true;
    const bool utf8 = codePage == CP_UTF8 || (codePage == CP_ACP && GetACP() == CP_UTF8) ||
                      (codePage == CP_OEMCP && GetOEMCP() == CP_UTF8);
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int wideLength = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    const int bytes = WideCharToMultiByte(codePage, flags, wide.data(), wideLength, nullptr, 0,
                                          nullptr, utf8 ? nullptr : &usedDefault);
    if (bytes <= 0)
        return false;
    text.assign(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(codePage, flags, wide.data(), wideLength, &text[0], bytes, nullptr,
                        utf8 ? nullptr : &usedDefault);
    return !usedDefault;
}

}  // namespace

// Exact means the ANSI text reads back as the same characters: no best-fit
// letter and no "?" in place of one the code page lacks.
bool ToAnsi(const std::string& utf8, AnsiText& ansi) {
    Utf16Text wide;
    const bool wellFormed = ToUtf16(utf8, wide);
    return FromUtf16(CP_ACP, wide, ansi) && wellFormed && ToUtf16(ansi) == wide;
}

std::string ToUtf8(const AnsiText& ansi) {
    return ToUtf8(ToUtf16(ansi));
}

Utf16Text ToUtf16(const AnsiText& ansi) {
    return Utf16From(CP_ACP, ansi.data(), ansi.size());
}

bool ToOem(const AnsiText& ansi, OemText& oem) {
    return FromUtf16(CP_OEMCP, ToUtf16(ansi), oem);
}
