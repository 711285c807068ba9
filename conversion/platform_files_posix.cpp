#include <cstdio>

#include "platform_files.h"

bool ReplaceFileWith(const char* from, const char* to) {
    return std::rename(from, to) == 0;
}

std::string ToBatchFileCodePage(const std::string& ansiText) {
    return ansiText;
}

const char* BatchFileCommand() {
    return "sh ./bramkot.bat";
}
