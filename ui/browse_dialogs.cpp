#include "browse_dialogs.h"

#include <commdlg.h>
#include <shlobj.h>

#include <vector>

#include "system_function.h"
#include "text_conversion.h"

namespace {

bool IsFolder(const Utf16Text& path) {
    const DWORD attributes =
        path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The folder picker and the shell's parts of the Open dialog want COM on
// the calling thread (single-threaded), for as long as they are open.
class ComOnThisThread {
public:
    ComOnThisThread() {
        using Initialize = HRESULT(WINAPI*)(LPVOID);
        const auto initialize = SystemFunction<Initialize>(L"ole32.dll", "CoInitialize");
        m_initialized = initialize != nullptr && SUCCEEDED(initialize(nullptr));
    }
    ~ComOnThisThread() {
        using Uninitialize = void(WINAPI*)();
        const auto uninitialize = SystemFunction<Uninitialize>(L"ole32.dll", "CoUninitialize");
        if (m_initialized && uninitialize != nullptr)
            uninitialize();
    }
    ComOnThisThread(const ComOnThisThread&) = delete;
    ComOnThisThread& operator=(const ComOnThisThread&) = delete;

private:
    bool m_initialized = false;
};

int CALLBACK SelectStartFolder(HWND window, UINT message, LPARAM, LPARAM startFolder) {
    if (message == BFFM_INITIALIZED && startFolder != 0)
        SendMessageW(window, BFFM_SETSELECTIONW, TRUE, startFolder);
    return 0;
}

}  // namespace

bool ChooseProgram(HWND owner, const wchar_t* title, const Utf16Text& startFolder,
                   Utf16Text& chosen) {
    using GetOpenFileNameFunction = BOOL(WINAPI*)(LPOPENFILENAMEW);
    const auto getOpenFileName =
        SystemFunction<GetOpenFileNameFunction>(L"comdlg32.dll", "GetOpenFileNameW");
    if (getOpenFileName == nullptr)
        return false;
    const ComOnThisThread com;
    std::vector<wchar_t> file(32768, L'\0');
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = L"Programs (*.exe)\0*.exe\0All files (*.*)\0*.*\0";
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = IsFolder(startFolder) ? startFolder.c_str() : nullptr;
    dialog.lpstrTitle = title;
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                   OFN_NOCHANGEDIR | OFN_DONTADDTORECENT;
    if (!getOpenFileName(&dialog))
        return false;
    chosen = file.data();
    return true;
}

bool ChooseFolder(HWND owner, const wchar_t* title, const Utf16Text& startFolder,
                  Utf16Text& chosen) {
    using FreeFunction = void(WINAPI*)(LPVOID);
    const auto free = SystemFunction<FreeFunction>(L"ole32.dll", "CoTaskMemFree");
    if (free == nullptr)
        return false;
    const ComOnThisThread com;
    wchar_t name[MAX_PATH] = {};
    BROWSEINFOW browse = {};
    browse.hwndOwner = owner;
    browse.pszDisplayName = name;
    browse.lpszTitle = title;
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    browse.lpfn = SelectStartFolder;
    browse.lParam = IsFolder(startFolder) ? reinterpret_cast<LPARAM>(startFolder.c_str()) : 0;
    using Browse = LPITEMIDLIST(WINAPI*)(LPBROWSEINFOW);
    using PathOf = BOOL(WINAPI*)(LPCITEMIDLIST, LPWSTR);
    const auto browseForFolder = SystemFunction<Browse>(L"shell32.dll", "SHBrowseForFolderW");
    const auto pathOf = SystemFunction<PathOf>(L"shell32.dll", "SHGetPathFromIDListW");
    const LPITEMIDLIST item = browseForFolder != nullptr ? browseForFolder(&browse) : nullptr;
    if (item == nullptr)
        return false;
    wchar_t path[MAX_PATH] = {};
    const bool isPath = pathOf != nullptr && pathOf(item, path) != FALSE;
    free(item);
    if (isPath)
        chosen = path;
    return isPath;
}

bool AnsiSpellingOfPath(const Utf16Text& path, AnsiText& ansi) {
    if (ToAnsi(ToUtf8(path), ansi))
        return true;
    const DWORD size = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (size == 0)
        return false;
    std::vector<wchar_t> shortPath(size);
    const DWORD length = GetShortPathNameW(path.c_str(), shortPath.data(), size);
    return length > 0 && length < size && ToAnsi(ToUtf8(Utf16Text(shortPath.data(), length)), ansi);
}
