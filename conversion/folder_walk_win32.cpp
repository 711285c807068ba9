#include <windows.h>

#include <algorithm>
#include <cwchar>

#include "folder_walk.h"
#include "system_function.h"
#include "text_conversion.h"

namespace {

// Paths of MAX_PATH characters and more open only in their "\\?\" spelling.
Utf16Text Searchable(const std::string& folder) {
    Utf16Text wide;
    ToUtf16(folder, wide);
    if (!wide.empty() && wide.back() != L'\\')
        wide += L'\\';
    wide += L'*';
    if (wide.size() < MAX_PATH || wide.compare(0, 4, L"\\\\?\\") == 0)
        return wide;
    return wide.compare(0, 2, L"\\\\") == 0 ? L"\\\\?\\UNC" + wide.substr(1) : L"\\\\?\\" + wide;
}

bool IsDotOrDotDot(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

// Without the short names and in large reads where the system offers them
// (Windows 7 and later; older ones refuse the request as invalid).
HANDLE FindFirst(const Utf16Text& pattern, WIN32_FIND_DATAW& data) {
    const FINDEX_INFO_LEVELS basic = static_cast<FINDEX_INFO_LEVELS>(1);  // FindExInfoBasic
    const DWORD largeFetch = 2;  // FIND_FIRST_EX_LARGE_FETCH
    const HANDLE find =
        FindFirstFileExW(pattern.c_str(), basic, &data, FindExSearchNameMatch, nullptr, largeFetch);
    if (find != INVALID_HANDLE_VALUE || GetLastError() != ERROR_INVALID_PARAMETER)
        return find;
    return FindFirstFileW(pattern.c_str(), &data);
}

}  // namespace

bool ListFolder(const std::string& folder, std::vector<FolderEntry>& items) {
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirst(Searchable(folder), data);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    do {
        const DWORD attributes = data.dwFileAttributes;
        const bool isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if ((attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0 ||
            (isFolder && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) ||
            IsDotOrDotDot(data.cFileName))
            continue;
        FolderEntry item;
        ToUtf8(data.cFileName, std::wcslen(data.cFileName), item.name);
        item.isFolder = isFolder;
        items.push_back(std::move(item));
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return true;
}

bool IsFolder(const std::string& path) {
    Utf16Text wide;
    if (!ToUtf16(path, wide))
        return false;
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string ChildPath(const std::string& folder, const std::string& name) {
    return !folder.empty() && folder.back() == '\\' ? folder + name : folder + '\\' + name;
}

// "D:\" or "D:": the shell hands a dropped drive over with its backslash.
bool IsDriveRoot(const std::string& path) {
    return (path.size() == 2 || (path.size() == 3 && path[2] == '\\')) && path[1] == ':';
}

// StrCmpLogicalW is Explorer's own order (shlwapi of Windows XP and later);
// without it, the order of the names' characters.
void SortAsExplorer(std::vector<std::string>& names) {
    using Compare = int(WINAPI*)(PCWSTR, PCWSTR);
    static const Compare compare = SystemFunction<Compare>(L"shlwapi.dll", "StrCmpLogicalW");
    std::vector<std::pair<Utf16Text, std::string>> wide(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        ToUtf16(names[i], wide[i].first);
        wide[i].second = std::move(names[i]);
    }
    std::sort(wide.begin(), wide.end(), [](const auto& a, const auto& b) {
        return compare != nullptr ? compare(a.first.c_str(), b.first.c_str()) < 0
                                  : a.first < b.first;
    });
    for (std::size_t i = 0; i < names.size(); ++i)
        names[i] = std::move(wide[i].second);
}
