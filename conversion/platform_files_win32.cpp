#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <set>
#include <vector>

#include "platform_files.h"
#include "wide_text.h"

std::vector<wchar_t> WideFromUtf8(const std::string& utf8) {
    const int length = static_cast<int>(utf8.size());
    const int wideLength =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, nullptr, 0);
    if (wideLength <= 0 && length > 0)
        return std::vector<wchar_t>();
    std::vector<wchar_t> wide(static_cast<std::size_t>(wideLength) + 1, L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, wide.data(),
                        wideLength);
    return wide;
}

std::string Utf8FromWide(const wchar_t* wide, std::size_t length) {
    const int count = static_cast<int>(length);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, count, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return std::string();
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, count, &utf8[0], bytes, nullptr, nullptr);
    return utf8;
}

namespace {

std::string Utf8FromWide(const std::vector<wchar_t>& wide) {
    return ::Utf8FromWide(wide.data(), wide.empty() ? 0 : wide.size() - 1);
}

// The text of a code page as UTF-16, NUL-terminated.
std::vector<wchar_t> WideFrom(UINT codePage, const std::string& text) {
    const int length = static_cast<int>(text.size());
    const int wideLength = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
    std::vector<wchar_t> wide(static_cast<std::size_t>(wideLength > 0 ? wideLength : 0) + 1, L'\0');
    if (wideLength > 0)
        MultiByteToWideChar(codePage, 0, text.data(), length, wide.data(), wideLength);
    return wide;
}

}  // namespace

bool ReplaceFileWith(const char* from, const char* to) {
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

std::string ExpandedByCommandProcessor(const std::string& line, const BatchFile& batch,
                                       const BatchVariables& variables) {
    return ExpandAsBatchFileLine(line, batch, variables);
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
    WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, &oem[0], oemLength,
                        nullptr, &usedDefault);
    batchText = oem;
    return !usedDefault;
}

// Exact means the ANSI text reads back as the same characters: no best-fit
// letter and no "?" in place of one the code page lacks.
bool ToAnsiExactly(const std::string& utf8, std::string& ansi) {
    ansi.clear();
    if (utf8.empty())
        return true;
    const std::vector<wchar_t> wide = WideFromUtf8(utf8);
    if (wide.empty())
        return false;
    if (GetACP() == CP_UTF8) {
        ansi = utf8;
        return true;
    }
    const int wideLength = static_cast<int>(wide.size() - 1);
    BOOL usedDefault = FALSE;
    const int bytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength,
                                          nullptr, 0, nullptr, &usedDefault);
    if (bytes <= 0 || usedDefault)
        return false;
    ansi.assign(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, &ansi[0], bytes,
                        nullptr, &usedDefault);
    return !usedDefault && WideFrom(CP_ACP, ansi) == wide;
}

std::string AnsiToUtf8(const std::string& ansi) {
    return Utf8FromWide(WideFrom(CP_ACP, ansi));
}

bool LookupBatchVariable(const std::string& name, std::string& value) {
    const DWORD size = GetEnvironmentVariableA(name.c_str(), nullptr, 0);
    if (size == 0)
        return false;
    std::vector<char> text(size);
    const DWORD length = GetEnvironmentVariableA(name.c_str(), text.data(), size);
    if (length >= size)
        return false;
    value.assign(text.data(), length);
    return true;
}

std::string FullPathInCurrentDirectory(const char* fileName) {
    char path[MAX_PATH];
    const DWORD length = GetFullPathNameA(fileName, MAX_PATH, path, nullptr);
    return length > 0 && length < MAX_PATH ? std::string(path, length) : std::string(fileName);
}

FileState QueryFileState(const std::string& path) {
    FileState state;
    WIN32_FILE_ATTRIBUTE_DATA data;
    const std::vector<wchar_t> wide = WideFromUtf8(path);
    if (wide.empty() || !GetFileAttributesExW(wide.data(), GetFileExInfoStandard, &data))
        return state;
    state.exists = true;
    state.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    state.writeTime = (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                      data.ftLastWriteTime.dwLowDateTime;
    return state;
}

bool RemoveFile(const std::string& path) {
    const std::vector<wchar_t> wide = WideFromUtf8(path);
    return !wide.empty() && DeleteFileW(wide.data()) != 0;
}

bool MoveFileOver(const std::string& from, const std::string& to) {
    const std::vector<wchar_t> wideFrom = WideFromUtf8(from);
    const std::vector<wchar_t> wideTo = WideFromUtf8(to);
    return !wideFrom.empty() && !wideTo.empty() &&
           MoveFileExW(
               wideFrom.data(), wideTo.data(),
               MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH) != 0;
}

std::FILE* OpenFile(const std::string& path, const char* mode) {
    const std::vector<wchar_t> wide = WideFromUtf8(path);
    wchar_t wideMode[8] = {};
    for (std::size_t i = 0; i + 1 < 8 && mode[i] != '\0'; ++i)
        wideMode[i] = static_cast<wchar_t>(mode[i]);
    return wide.empty() ? nullptr : _wfopen(wide.data(), wideMode);
}

bool MakeFolders(const std::string& path) {
    std::vector<wchar_t> wide = WideFromUtf8(path);
    if (wide.empty())
        return false;
    // Each folder from the top down; those that are there (or are a drive or
    // a server) refuse, which is fine: the last one must be there at the end.
    for (std::size_t i = 1; i + 1 < wide.size(); ++i) {
        if (wide[i] != L'\\' && wide[i] != L'/')
            continue;
        const wchar_t separator = wide[i];
        wide[i] = L'\0';
        CreateDirectoryW(wide.data(), nullptr);
        wide[i] = separator;
    }
    CreateDirectoryW(wide.data(), nullptr);
    const DWORD attributes = GetFileAttributesW(wide.data());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string FileNameKey(const std::string& path) {
    std::vector<wchar_t> wide = WideFromUtf8(path);
    if (wide.size() <= 1)
        return path;
    CharUpperBuffW(wide.data(), static_cast<DWORD>(wide.size() - 1));
    return Utf8FromWide(wide);
}

namespace {

// `path` as UTF-8 without its final backslash, when the ANSI code page spells it.
bool SpelledInAnsi(const wchar_t* path, std::string& utf8) {
    utf8 = ::Utf8FromWide(path, wcslen(path));
    while (!utf8.empty() && utf8.back() == '\\')
        utf8.pop_back();
    std::string ansi;
    return !utf8.empty() && ToAnsiExactly(utf8, ansi);
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
    const std::vector<wchar_t> wideFrom = WideFromUtf8(from);
    const std::vector<wchar_t> wideTo = WideFromUtf8(to);
    if (wideFrom.empty() || wideTo.empty())
        return false;
    return CreateHardLinkW(wideTo.data(), wideFrom.data(), nullptr) ||
           CopyFileW(wideFrom.data(), wideTo.data(), TRUE);
}

namespace {

// Mutex names are case-sensitive and may hold neither a backslash nor more
// than MAX_PATH characters, so the name carries a hash of the full path in
// capitals.
WideString LockName(const char* kind, const std::string& path) {
    const std::vector<wchar_t> wide = WideFromUtf8(path);
    if (wide.empty())
        return WideString();
    const DWORD size = GetFullPathNameW(wide.data(), 0, nullptr, nullptr);
    if (size == 0)
        return WideString();
    std::vector<wchar_t> full(size + 1, L'\0');
    const DWORD length = GetFullPathNameW(wide.data(), size + 1, full.data(), nullptr);
    if (length == 0 || length > size)
        return WideString();
    CharUpperBuffW(full.data(), length);

    std::uint64_t hash = 14695981039346656037ull;  // 64-bit FNV-1a
    for (DWORD i = 0; i < length; ++i) {
        hash ^= full[i];
        hash *= 1099511628211ull;
    }
    WideString name = L"BRAMKOT ";
    for (const char* c = kind; *c != '\0'; ++c)
        name += static_cast<wchar_t>(*c);
    name += L' ';
    for (int shift = 60; shift >= 0; shift -= 4)
        name += L"0123456789abcdef"[hash >> shift & 15];
    return name;
}

}  // namespace

// A thread may take a mutex it holds once more, so the locks this process
// holds are also kept here: two objects of one process never hold one lock.
class HeldLocks {
public:
    HeldLocks() { InitializeCriticalSection(&m_section); }
    bool Has(const std::string& name) {
        EnterCriticalSection(&m_section);
        const bool has = m_names.count(name) != 0;
        LeaveCriticalSection(&m_section);
        return has;
    }
    // False when the name is held already.
    bool Add(const std::string& name) {
        EnterCriticalSection(&m_section);
        const bool added = m_names.insert(name).second;
        LeaveCriticalSection(&m_section);
        return added;
    }
    void Remove(const std::string& name) {
        EnterCriticalSection(&m_section);
        m_names.erase(name);
        LeaveCriticalSection(&m_section);
    }

private:
    CRITICAL_SECTION m_section;
    std::set<std::string> m_names;
};

// Made before the program's threads start.
HeldLocks heldByThisProcess;

HeldLocks& HeldByThisProcess() {
    return heldByThisProcess;
}

PathLock::PathLock(const char* kind, const std::string& path) {
    const WideString name = LockName(kind, path);
    if (name.empty())
        return;
    m_name = ::Utf8FromWide(name.c_str(), name.size());
    m_lock = CreateMutexW(nullptr, FALSE, name.c_str());
}

PathLock::~PathLock() {
    if (m_lock == nullptr)
        return;
    if (m_held) {
        HeldByThisProcess().Remove(m_name);
        ReleaseMutex(static_cast<HANDLE>(m_lock));
    }
    CloseHandle(static_cast<HANDLE>(m_lock));
}

// An owner that died without releasing leaves the mutex abandoned: ours now.
bool PathLock::TryTake() {
    if (m_lock == nullptr)
        return true;
    if (m_held)
        return true;
    if (HeldByThisProcess().Has(m_name))
        return false;
    const DWORD waited = WaitForSingleObject(static_cast<HANDLE>(m_lock), 0);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED)
        return false;
    if (!HeldByThisProcess().Add(m_name)) {
        ReleaseMutex(static_cast<HANDLE>(m_lock));
        return false;
    }
    m_held = true;
    return true;
}

bool PathLock::Take(void* cancel) {
    if (m_lock == nullptr || m_held)
        return m_lock != nullptr;
    const HANDLE handles[] = {static_cast<HANDLE>(m_lock), static_cast<HANDLE>(cancel)};
    const DWORD count = cancel != nullptr ? 2 : 1;
    for (;;) {
        if (HeldByThisProcess().Has(m_name)) {
            if (cancel != nullptr &&
                WaitForSingleObject(static_cast<HANDLE>(cancel), 50) == WAIT_OBJECT_0)
                return false;
            if (cancel == nullptr)
                Sleep(50);
            continue;
        }
        const DWORD waited = WaitForMultipleObjects(count, handles, FALSE, INFINITE);
        if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED_0)
            return false;
        if (HeldByThisProcess().Add(m_name))
            break;
        ReleaseMutex(static_cast<HANDLE>(m_lock));
    }
    m_held = true;
    return true;
}

std::vector<std::string> FolderNamesStartingWith(const std::string& folder, const char* prefix) {
    std::vector<std::string> names;
    const std::vector<wchar_t> pattern = WideFromUtf8(folder + "\\" + prefix + "*");
    WIN32_FIND_DATAW found;
    const HANDLE search =
        pattern.empty() ? INVALID_HANDLE_VALUE : FindFirstFileW(pattern.data(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(::Utf8FromWide(found.cFileName, wcslen(found.cFileName)));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

std::string LastSystemErrorText() {
    const DWORD error = GetLastError();
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string words = length > 0 ? ::Utf8FromWide(text, length) : std::string();
    if (text != nullptr)
        LocalFree(text);
    while (!words.empty() && (words.back() == '\n' || words.back() == '\r' || words.back() == ' ' ||
                              words.back() == '.'))
        words.pop_back();
    if (words.empty())
        words = "system error " + std::to_string(error);
    return words;
}
