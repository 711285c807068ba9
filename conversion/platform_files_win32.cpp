#include <windows.h>

#include <vector>

#include "platform_files.h"

bool ReplaceFileWith(const char* from, const char* to) {
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

const char* BatchFileCommand() {
    return "bramkot.bat";
}

bool ToBatchFileCodePage(const std::string& ansiText, std::string& batchText) {
    batchText = ansiText;
    if (ansiText.empty())
        return true;
    const int length = static_cast<int>(ansiText.size());
    const int wideLength = MultiByteToWideChar(CP_ACP, 0, ansiText.data(), length, nullptr, 0);
    if (wideLength <= 0)
        return true;
    std::vector<wchar_t> wide(wideLength);
    MultiByteToWideChar(CP_ACP, 0, ansiText.data(), length, wide.data(), wideLength);
    // No best-fit mapping: a character the console code page lacks must not
    // turn silently into a different, existing character of another name.
    BOOL usedDefault = FALSE;
    const int oemLength = WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, wide.data(),
                                              wideLength, nullptr, 0, nullptr, nullptr);
    if (oemLength <= 0)
        return true;  // a console code page without these flags (UTF-8): as it is
    std::string oem(oemLength, '\0');
    WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, &oem[0],
                        oemLength, nullptr, &usedDefault);
    batchText = oem;
    return !usedDefault;
}

void SetBatchVariable(const char* name, const char* value) {
    SetEnvironmentVariableA(name, value);
}
