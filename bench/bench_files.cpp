#include "bench_files.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

std::vector<std::string> ListFiles(const std::string& directory, const char* pattern) {
    std::vector<std::string> paths;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((directory + "\\" + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return paths;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            paths.push_back(directory + "\\" + found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(paths.begin(), paths.end());
    return paths;
}

FileCount CountFiles(const std::vector<std::string>& paths) {
    FileCount count;
    for (const std::string& path : paths) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
            (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        ++count.existing;
        if (data.nFileSizeLow != 0 || data.nFileSizeHigh != 0)
            ++count.nonEmpty;
    }
    return count;
}

void DeleteFiles(const std::vector<std::string>& paths) {
    for (const std::string& path : paths)
        DeleteFileA(path.c_str());
}

bool WriteTextFile(const char* name, const std::vector<std::string>& lines) {
    FILE* file = std::fopen(name, "wt");
    if (file == nullptr)
        return false;
    bool written = true;
    for (const std::string& line : lines)
        written = std::fprintf(file, "%s\n", line.c_str()) >= 0 && written;
    return std::fclose(file) == 0 && written;
}

std::string FullPath(const std::string& relative) {
    char buffer[MAX_PATH];
    const DWORD length = GetFullPathNameA(relative.c_str(), MAX_PATH, buffer, nullptr);
    return length > 0 && length < MAX_PATH ? std::string(buffer) : relative;
}

std::vector<std::string> MakeInputs(const char* folder, int count) {
    CreateDirectoryA(folder, nullptr);
    std::vector<std::string> inputs;
    for (int i = 0; i < count; ++i) {
        char name[MAX_PATH];
        std::snprintf(name, sizeof name, "%s\\track %03d.mpc", folder, i + 1);
        if (FILE* file = std::fopen(name, "wb")) {
            std::fputs("MPCK", file);
            std::fclose(file);
        }
        inputs.push_back(FullPath(name));
    }
    return inputs;
}
