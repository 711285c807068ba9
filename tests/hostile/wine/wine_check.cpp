#include "wine_check.h"

#include <windows.h>

#include <cstdio>

namespace {

int g_passed = 0;
int g_failed = 0;

void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string child = path + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

}  // namespace

void Check(bool condition, const char* test, const std::string& what) {
    if (condition) {
        ++g_passed;
        return;
    }
    ++g_failed;
    std::printf("FAILED %s: %s\n", test, what.c_str());
    std::fflush(stdout);
}

int PassedChecks() { return g_passed; }
int FailedChecks() { return g_failed; }

ScratchDirectory::ScratchDirectory() {
    char buffer[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, buffer);
    m_previous = buffer;
    GetTempPathA(MAX_PATH, buffer);
    static int s_serial = 0;
    char name[64];
    std::snprintf(name, sizeof name, "bramkot-hostile-%lu-%d", GetCurrentProcessId(), ++s_serial);
    m_path = std::string(buffer) + name;
    CreateDirectoryA(m_path.c_str(), nullptr);
    SetCurrentDirectoryA(m_path.c_str());
}

ScratchDirectory::~ScratchDirectory() {
    SetCurrentDirectoryA(m_previous.c_str());
    RemoveTree(m_path);
}

void WriteBytes(const char* name, const std::string& bytes) {
    FILE* file = std::fopen(name, "wb");
    if (file == nullptr)
        return;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

std::string ReadBytes(const char* name) {
    std::string bytes;
    FILE* file = std::fopen(name, "rb");
    if (file == nullptr)
        return bytes;
    char chunk[65536];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.append(chunk, got);
    std::fclose(file);
    return bytes;
}

bool FileExists(const char* name) {
    const DWORD attributes = GetFileAttributesA(name);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const char* name) {
    const DWORD attributes = GetFileAttributesA(name);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string WindowsPath(const std::string& path) {
    if (path.empty() || path[0] != '/')
        return path;
    std::string windows = "Z:" + path;
    for (char& c : windows)
        if (c == '/')
            c = '\\';
    return windows;
}
