// The shell reads the batch file as it is written and file names are bytes:
// every text has one spelling in every code page here, so no run takes the
// way through "%NAME%" variables or through a second name for the tools.
#include "text_conversion.h"

bool ToAnsi(const std::string& utf8, AnsiText& ansi) {
    ansi.assign(utf8.begin(), utf8.end());
    return true;
}

std::string ToUtf8(const AnsiText& ansi) {
    return std::string(ansi.begin(), ansi.end());
}

Utf16Text ToUtf16(const AnsiText& ansi) {
    Utf16Text utf16;
    ToUtf16(ToUtf8(ansi), utf16);
    return utf16;
}

bool ToOem(const AnsiText& ansi, OemText& oem) {
    oem.assign(ansi.begin(), ansi.end());
    return true;
}
