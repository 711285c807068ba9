#include <windows.h>

#include <vector>

#include "platform_files.h"

bool ReplaceFileWith(const char* from, const char* to) {
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

const char* BatchFileCommand() {
    return "bramkot.bat";
}

std::string ToBatchFileCodePage(const std::string& ansiText) {
    if (ansiText.empty())
        return ansiText;
    const int length = static_cast<int>(ansiText.size());
    const int wideLength = MultiByteToWideChar(CP_ACP, 0, ansiText.data(), length, nullptr, 0);
    if (wideLength <= 0)
        return ansiText;
    std::vector<wchar_t> wide(wideLength);
    MultiByteToWideChar(CP_ACP, 0, ansiText.data(), length, wide.data(), wideLength);
    // No best-fit mapping: a character the console code page lacks must not
    // turn silently into a different, existing character of another name.
    const int oemLength = WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, wide.data(),
                                              wideLength, nullptr, 0, nullptr, nullptr);
    if (oemLength <= 0)
        return ansiText;
    std::string oem(oemLength, '\0');
    WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, &oem[0], oemLength,
                        nullptr, nullptr);
    return oem;
}
