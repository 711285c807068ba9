#include "small_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "file_system.h"

// The reason is taken where the write failed: a later call would overwrite it.
bool WriteSmallFile(const char* name, const std::string& bytes, const char* mode,
                    std::string& problem) {
    FILE* file = OpenFile(name, mode);
    if (file == nullptr) {
        problem = LastSystemErrorText();
        return false;
    }
    errno = 0;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = std::fflush(file) == 0 && written;
    int error = errno;
    if (std::fclose(file) != 0 && written) {
        error = errno;
        written = false;
    }
    if (!written) {
        problem = error != 0 ? std::strerror(error) : "not every byte could be written";
        RemoveFile(name);
    }
    return written;
}
