#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <cstring>
#include <cwchar>

#include "file.h"
#include "file_system.h"
#include "text_conversion.h"

const char kPathSeparator = '\\';

namespace {

// The UTF-16 spelling of a path for the "W" functions; false for text that is
// no UTF-8, which names no file.
bool Wide(const std::string& utf8, Utf16Text& wide) {
    return ToUtf16(utf8, wide);
}

}  // namespace

FileState QueryFileState(const std::string& path) {
    FileState state;
    WIN32_FILE_ATTRIBUTE_DATA data;
    Utf16Text wide;
    if (!Wide(path, wide) || !GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data))
        return state;
    state.exists = true;
    state.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    state.writeTime = (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                      data.ftLastWriteTime.dwLowDateTime;
    return state;
}

bool RemoveFile(const std::string& path) {
    Utf16Text wide;
    return Wide(path, wide) && DeleteFileW(wide.c_str()) != 0;
}

bool MoveFileOver(const std::string& from, const std::string& to) {
    Utf16Text wideFrom, wideTo;
    return Wide(from, wideFrom) && Wide(to, wideTo) &&
           MoveFileExW(
               wideFrom.c_str(), wideTo.c_str(),
               MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH) != 0;
}

// A read-only MP3 (copied from a CD) refuses to be replaced; it is replaced
// all the same, and keeps its attribute when it stays.
bool ReplaceFileByName(const std::string& from, const std::string& to, std::string& problem) {
    Utf16Text wideFrom, wideTo;
    if (!Wide(from, wideFrom) || !Wide(to, wideTo)) {
        problem = "its name is no UTF-8";
        return false;
    }
    const DWORD attributes = GetFileAttributesW(wideTo.c_str());
    const bool readOnly =
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    if (readOnly && !SetFileAttributesW(wideTo.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY)) {
        problem = "the MP3 there is read-only and stays so: " + LastSystemErrorText();
        return false;
    }
    if (MoveFileExW(wideFrom.c_str(), wideTo.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    problem = LastSystemErrorText();
    if (readOnly)
        SetFileAttributesW(wideTo.c_str(), attributes);
    return false;
}

bool ReplaceFileWith(const char* from, const char* to) {
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

// Through CreateFile rather than _wfopen: the C runtime makes inheritable
// handles, and a file held by the program while another pipeline's command
// processor is created would stay open in that pipeline's tools until it ends
// (and the msvcrt.dll of older Windows knows no "N" mode to say otherwise).
// Modes: "rb", "wb", "wt", "ab".
std::FILE* OpenFile(const std::string& path, const char* mode) {
    Utf16Text wide;
    if (!Wide(path, wide))
        return nullptr;
    const bool write = mode[0] == 'w' || mode[0] == 'a';
    Handle handle = OpenFileNotInherited(wide.c_str(), mode[0] == 'w'   ? FileAccess::Write
                                                       : mode[0] == 'a' ? FileAccess::Append
                                                                        : FileAccess::Read);
    if (!handle) {
        errno = GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND
                    ? ENOENT
                    : EACCES;
        return nullptr;
    }
    const bool text = std::strchr(mode, 't') != nullptr;
    int flags = (write ? (mode[0] == 'a' ? _O_APPEND | _O_WRONLY : _O_WRONLY) : _O_RDONLY) |
                (text ? _O_TEXT : _O_BINARY);
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle.Get()), flags);
    if (descriptor == -1)
        return nullptr;
    handle.Release();  // the descriptor owns it now
    std::FILE* file = _fdopen(descriptor, mode);
    if (file == nullptr) {
        const DWORD error = GetLastError();
        _close(descriptor);
        SetLastError(error);
    }
    return file;
}

bool MakeFolders(const std::string& path) {
    Utf16Text wide;
    if (!Wide(path, wide) || wide.empty())
        return false;
    // Each folder from the top down; those that are there (or are a drive or
    // a server) refuse, which is fine: the last one must be there at the end.
    for (std::size_t i = 1; i < wide.size(); ++i) {
        if (wide[i] == L'\\' || wide[i] == L'/')
            CreateDirectoryW(wide.substr(0, i).c_str(), nullptr);
    }
    CreateDirectoryW(wide.c_str(), nullptr);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> FolderNamesStartingWith(const std::string& folder, const char* prefix) {
    std::vector<std::string> names;
    Utf16Text pattern;
    WIN32_FIND_DATAW found;
    const HANDLE search = Wide(folder + "\\" + prefix + "*", pattern)
                              ? FindFirstFileW(pattern.c_str(), &found)
                              : INVALID_HANDLE_VALUE;
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            ToUtf8(found.cFileName, std::wcslen(found.cFileName), name))
            names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

std::string FileNameKey(const std::string& path) {
    Utf16Text wide;
    if (!Wide(path, wide) || wide.empty())
        return path;
    CharUpperBuffW(&wide[0], static_cast<DWORD>(wide.size()));
    return ToUtf8(wide);
}

AnsiText FullPathInCurrentDirectory(const char* fileName) {
    char path[MAX_PATH];
    const DWORD length = GetFullPathNameA(fileName, MAX_PATH, path, nullptr);
    return length > 0 && length < MAX_PATH ? AnsiText(path, length) : AnsiText(fileName);
}

namespace {

// `path` as UTF-8 without its final backslash, when the ANSI code page spells it.
bool SpelledInAnsi(const wchar_t* path, std::string& utf8) {
    if (!ToUtf8(path, std::wcslen(path), utf8))
        return false;
    while (!utf8.empty() && utf8.back() == '\\')
        utf8.pop_back();
    AnsiText ansi;
    return !utf8.empty() && ToAnsi(utf8, ansi);
}

}  // namespace

// The temporary folder by its long name or, where the ANSI code page cannot
// spell that, by its short one.
bool AliasFolder(std::string& folder) {
    wchar_t temp[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH)
        return false;
    if (SpelledInAnsi(temp, folder))
        return true;
    wchar_t shortTemp[MAX_PATH + 1];
    const DWORD shortLength = GetShortPathNameW(temp, shortTemp, MAX_PATH + 1);
    return shortLength > 0 && shortLength <= MAX_PATH && SpelledInAnsi(shortTemp, folder);
}

bool LinkOrCopyFile(const std::string& from, const std::string& to) {
    Utf16Text wideFrom, wideTo;
    if (!Wide(from, wideFrom) || !Wide(to, wideTo))
        return false;
    return CreateHardLinkW(wideTo.c_str(), wideFrom.c_str(), nullptr) ||
           CopyFileW(wideFrom.c_str(), wideTo.c_str(), TRUE);
}

std::string LastSystemErrorText() {
    const DWORD error = GetLastError();
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string words;
    if (length > 0)
        ToUtf8(text, length, words);
    if (text != nullptr)
        LocalFree(text);
    while (!words.empty() && (words.back() == '\n' || words.back() == '\r' || words.back() == ' ' ||
                              words.back() == '.'))
        words.pop_back();
    if (words.empty())
        words = "system error " + std::to_string(error);
    return words;
}
