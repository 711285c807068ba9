#include "test_files.h"

#include <windows.h>

#include <algorithm>

#include "file.h"

namespace {

std::wstring Convert(UINT codePage, const std::string& text) {
    if (text.empty())
        return std::wstring();
    const int size =
        MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(size, L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &wide[0], size);
    return wide;
}

std::string Convert(UINT codePage, const std::wstring& wide, BOOL* lossy) {
    if (wide.empty())
        return std::string();
    const int size = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, lossy);
    std::string text(size, '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), &text[0], size,
                        nullptr, lossy);
    return text;
}

}  // namespace

std::wstring AnsiToWide(const std::string& ansi) {
    return Convert(CP_ACP, ansi);
}

std::string AnsiToUtf8(const std::string& ansi) {
    return WideToUtf8(AnsiToWide(ansi));
}

std::string WideToUtf8(const std::wstring& wide) {
    return Convert(CP_UTF8, wide, nullptr);
}

std::string WideToAnsi(const std::wstring& wide) {
    BOOL lossy = FALSE;
    const std::string ansi = Convert(CP_ACP, wide, &lossy);
    return lossy ? std::string() : ansi;
}

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsDirectory(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadFileBytes(const std::wstring& path, bool* found) {
    const Handle file = OpenFileNotInherited(path.c_str(), FileAccess::Read);
    if (found != nullptr)
        *found = static_cast<bool>(file);
    std::string bytes;
    char chunk[65536];
    DWORD got = 0;
    while (file && ReadFile(file.Get(), chunk, sizeof chunk, &got, nullptr) && got > 0)
        bytes.append(chunk, got);
    return bytes;
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    const Handle file = OpenFileNotInherited(path.c_str(), FileAccess::Write);
    DWORD put = 0;
    return file &&
           WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) &&
           put == bytes.size();
}

bool PathExists(const char* name) {
    return GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES;
}

bool FileExists(const char* name) {
    return FileExists(AnsiToWide(name));
}

bool IsDirectory(const char* name) {
    return IsDirectory(AnsiToWide(name));
}

std::string ReadFileBytes(const char* name) {
    return ReadFileBytes(AnsiToWide(name));
}

bool WriteFileBytes(const char* name, const std::string& bytes) {
    return WriteFileBytes(AnsiToWide(name), bytes);
}

std::string WindowsPath(const std::string& path) {
    std::string result = path;
    if (!result.empty() && result[0] == '/')
        result = "Z:" + result;
    for (char& c : result)
        if (c == '/')
            c = '\\';
    return result;
}

std::vector<std::string> FolderNames(const std::wstring& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(WideToUtf8(name));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

void RemoveTree(const std::wstring& path) {
    if (!IsDirectory(path)) {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
        return;
    }
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L"..")
                RemoveTree(path + L"\\" + name);
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(path.c_str());
}
