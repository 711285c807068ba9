#include "small_file.h"

#include <cstdio>

#include "file_system.h"

bool WriteSmallFile(const char* name, const std::string& bytes, const char* mode,
                    std::string& problem) {
    FILE* file = OpenFile(name, mode);
    bool written =
        file != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = file != nullptr && std::fflush(file) == 0 && written;
    if (!written)
        problem = LastSystemErrorText();
    if (file != nullptr && std::fclose(file) != 0 && written) {
        problem = LastSystemErrorText();
        written = false;
    }
    if (!written && file != nullptr)
        RemoveFile(name);
    return written;
}
