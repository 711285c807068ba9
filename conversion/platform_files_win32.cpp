#include <windows.h>

#include <cstdint>
#include <cstdio>
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
    WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, &oem[0], oemLength,
                        nullptr, &usedDefault);
    batchText = oem;
    return !usedDefault;
}

void SetBatchVariable(const char* name, const char* value) {
    SetEnvironmentVariableA(name, value);
}

namespace {

// Mutex names are case-sensitive and may hold neither a backslash nor more
// than MAX_PATH characters, so the name carries a hash of the full path in
// capitals.
std::string TurnMutexName(const char* fileName) {
    const DWORD size = GetFullPathNameA(fileName, 0, nullptr, nullptr);
    if (size == 0)
        return std::string();
    std::string path(size, '\0');
    const DWORD length = GetFullPathNameA(fileName, size, &path[0], nullptr);
    if (length == 0 || length >= size)
        return std::string();
    path.resize(length);
    std::string upper(path.size(), '\0');
    if (LCMapStringA(LOCALE_SYSTEM_DEFAULT, LCMAP_UPPERCASE, path.data(), length, &upper[0],
                     length) != static_cast<int>(length))
        upper = path;

    std::uint64_t hash = 14695981039346656037ull;  // 64-bit FNV-1a
    for (unsigned char c : upper) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char name[64];
    std::snprintf(name, sizeof name, "BRAMKOT batch file %08lx%08lx",
                  static_cast<unsigned long>(hash >> 32), static_cast<unsigned long>(hash));
    return name;
}

}  // namespace

BatchFileTurn::BatchFileTurn(const char* batchFileName) {
    const std::string name = TurnMutexName(batchFileName);
    if (name.empty())
        return;
    HANDLE mutex = CreateMutexA(nullptr, FALSE, name.c_str());
    if (mutex == nullptr)
        return;
    // An owner that died without releasing leaves the mutex abandoned: ours now.
    const DWORD waited = WaitForSingleObject(mutex, INFINITE);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        CloseHandle(mutex);
        return;
    }
    m_lock = mutex;
}

BatchFileTurn::~BatchFileTurn() {
    if (m_lock == nullptr)
        return;
    ReleaseMutex(static_cast<HANDLE>(m_lock));
    CloseHandle(static_cast<HANDLE>(m_lock));
}
