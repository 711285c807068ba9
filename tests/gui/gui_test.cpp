#include "gui_test.h"

#include <shellapi.h>
#include <shlobj.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>

#include "afx.h"
#include "event.h"
#include "handle.h"
#include "resource.h"

namespace {

// The application object the dialogs expect (its resources are this program's).
class CTestApp : public CWinApp {};
CTestApp theTestApp;

// A lock for std::lock_guard: the Windows builds' C++ runtime (the win32
// thread model) has no std::mutex or std::thread.
class CriticalSection {
public:
    CriticalSection() { InitializeCriticalSection(&section_); }
    ~CriticalSection() { DeleteCriticalSection(&section_); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;
    void lock() { EnterCriticalSection(&section_); }
    void unlock() { LeaveCriticalSection(&section_); }

private:
    CRITICAL_SECTION section_;
};

std::vector<std::string> arguments;
DWORD dialogThread = 0;
HWND helperWindow = nullptr;  // on the dialog thread: runs work sent or posted to it

const UINT kRunWork = WM_APP + 1;

HWND runningDialog = nullptr;  // the dialog RunDialog runs

// Work for the dialog thread. The driver stops waiting for it when the
// dialog has ended (a key that closes it leaves later posts unprocessed);
// work given up that way never runs.
struct Work {
    std::function<void()> function;
    Event done;
    CriticalSection mutex;
    bool started = false;
    bool abandoned = false;
};

LRESULT CALLBACK HelperProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != kRunWork)
        return DefWindowProcA(window, message, wParam, lParam);
    std::shared_ptr<Work>* posted = reinterpret_cast<std::shared_ptr<Work>*>(lParam);
    std::shared_ptr<Work> work = *posted;
    delete posted;
    {
        std::lock_guard<CriticalSection> lock(work->mutex);
        if (work->abandoned)
            return 0;
        work->started = true;
    }
    if (work->function)
        work->function();
    work->done.Set();
    return 0;
}

HWND CreateHelperWindow() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = HelperProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "BramkotGuiTestHelper";
    RegisterClassA(&windowClass);
    return CreateWindowA("BramkotGuiTestHelper", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

// Posts `function` to the dialog thread behind everything posted so far
// and waits until it has run, or until the dialog has ended.
void RunPosted(const std::function<void()>& function) {
    auto work = std::make_shared<Work>();
    work->function = function;
    auto* posted = new std::shared_ptr<Work>(work);
    if (!PostMessageA(helperWindow, kRunWork, 0, reinterpret_cast<LPARAM>(posted))) {
        delete posted;
        return;
    }
    const DWORD start = GetTickCount();
    while (!work->done.Wait(20)) {
        const bool dialogAlive = runningDialog == nullptr || IsWindow(runningDialog);
        if (dialogAlive && GetTickCount() - start < 30000)
            continue;
        std::lock_guard<CriticalSection> lock(work->mutex);
        if (!work->started) {
            work->abandoned = true;
            return;
        }
    }
}

struct OwnedSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindOwned(HWND window, LPARAM param) {
    OwnedSearch* search = reinterpret_cast<OwnedSearch*>(param);
    if (GetWindow(window, GW_OWNER) == search->owner && IsWindowVisible(window))
        search->found = window;
    return search->found == nullptr;
}

struct FindData {
    const char* caption;
    HWND found;
};

BOOL CALLBACK FindDialogWindow(HWND window, LPARAM param) {
    FindData* data = reinterpret_cast<FindData*>(param);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::strcmp(className, "#32770") == 0 && IsWindowVisible(window) &&
        WindowText(window) == data->caption) {
        data->found = window;
        return FALSE;
    }
    return TRUE;
}

// A fresh folder for the case, removed afterwards with what it holds.
std::string MakeCaseFolder(const char* caseName) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    char folder[MAX_PATH * 2];
    std::snprintf(folder, sizeof folder, "%sbramkot-gui-%s-%lu-%lu", temp, caseName,
                  GetCurrentProcessId(), GetTickCount());
    CreateDirectoryA(folder, nullptr);
    return folder;
}

void RemoveFolder(const std::string& folder) {
    std::string from = folder;
    from.push_back('\0');  // a double NUL ends the list
    SHFILEOPSTRUCTA operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationA(&operation);
}

DWORD WINAPI RunFunction(LPVOID function) {
    (*static_cast<const std::function<void()>*>(function))();
    return 0;
}

}  // namespace

const std::vector<std::string>& CaseArguments() {
    return arguments;
}

bool HasCaseArguments(std::size_t count) {
    return CHECK_EQ(arguments.size(), count);
}

HWND WaitForDialog(const char* caption, DWORD timeoutMs) {
    FindData data = {caption, nullptr};
    WaitUntil(
        [&] {
            EnumThreadWindows(dialogThread, FindDialogWindow, reinterpret_cast<LPARAM>(&data));
            return data.found != nullptr;
        },
        timeoutMs);
    if (data.found != nullptr)
        Sync(data.found);
    return data.found;
}

HWND OwnedWindow(HWND dialog) {
    OwnedSearch search = {dialog, nullptr};
    EnumThreadWindows(GetWindowThreadProcessId(dialog, nullptr), FindOwned,
                      reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(10);
    }
    return true;
}

void Sync(HWND) {
    RunPosted(nullptr);
}

void RunOnDialogThread(const std::function<void()>& function) {
    RunPosted(function);
}

INT_PTR RunDialog(CDialog& dialog, const char* caption, const std::function<void(HWND)>& driver) {
    dialogThread = GetCurrentThreadId();
    if (helperWindow == nullptr)
        helperWindow = CreateHelperWindow();
    runningDialog = nullptr;
    const std::function<void()> drive = [&] {
        HWND window = WaitForDialog(caption);
        CHECK(window != nullptr);
        runningDialog = window;
        if (window == nullptr)
            return;
        driver(window);
        if (IsWindow(window)) {
            PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
            WaitUntil([&] { return !IsWindow(window); });
        }
    };
    const Handle driverThread(CreateThread(nullptr, 0, RunFunction,
                                           const_cast<std::function<void()>*>(&drive), 0, nullptr));
    theTestApp.m_pMainWnd = &dialog;
    const INT_PTR result = dialog.DoModal();
    theTestApp.m_pMainWnd = nullptr;
    WaitForSingleObject(driverThread.Get(), INFINITE);
    return result;
}

HWND FocusedWindow() {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(dialogThread, &info);
    return info.hwndFocus;
}

void PressKey(HWND dialog, UINT virtualKey) {
    HWND target = FocusedWindow();
    if (target == nullptr)
        target = dialog;
    const UINT scanCode = MapVirtualKeyA(virtualKey, 0);
    PostMessageA(target, WM_KEYDOWN, virtualKey, 1 | (scanCode << 16));
    PostMessageA(target, WM_KEYUP, virtualKey, 1 | (scanCode << 16) | 0xC0000000u);
    if (IsWindow(dialog))
        Sync(dialog);
}

void ClickButton(HWND dialog, int id) {
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

bool ConvertAndWait(HWND dialog, DWORD timeoutMs) {
    ClickButton(dialog, IDC_CONVERT);
    return WaitUntil(
        [&] {
            return WindowText(dialog) == "BRAMKOT" &&
                   ControlText(dialog, IDC_CONVERT) == "Convert Files";
        },
        timeoutMs);
}

std::string WindowText(HWND window) {
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    GetWindowTextA(window, &text[0], length + 1);
    text.resize(std::strlen(text.c_str()));
    return text;
}

void SetControlText(HWND dialog, int id, const std::string& text) {
    SetWindowTextA(GetDlgItem(dialog, id), text.c_str());
}

std::string ControlText(HWND dialog, int id) {
    return WindowText(GetDlgItem(dialog, id));
}

HDROP DropBlock(const void* list, std::size_t bytes, BOOL wide) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + bytes);
    DROPFILES* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->pt.x = 40;
    drop->pt.y = 40;
    drop->fNC = FALSE;
    drop->fWide = wide;
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list, bytes);
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

HDROP DropFiles(HWND dialog, const std::vector<std::string>& names) {
    std::string list;
    for (const std::string& name : names)
        list += name + '\0';
    HDROP drop = DropBlock(list.c_str(), list.size() + 1, FALSE);
    SendMessageA(dialog, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    return drop;
}

std::vector<std::string> ListEntries(HWND dialog, int id) {
    std::vector<std::string> entries;
    RunOnDialogThread([&] { entries = ListEntriesHere(dialog, id); });
    return entries;
}

std::vector<std::string> ListEntriesHere(HWND dialog, int id) {
    HWND list = GetDlgItem(dialog, id);
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    std::vector<std::string> entries;
    for (int i = 0; i < count; ++i) {
        const int length = static_cast<int>(SendMessageA(list, LB_GETTEXTLEN, i, 0));
        std::string text(static_cast<std::size_t>(length) + 1, '\0');
        SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
        text.resize(static_cast<std::size_t>(length));
        entries.push_back(text);
    }
    return entries;
}

std::string FullPath(const char* name) {
    char path[MAX_PATH * 4] = {};
    GetFullPathNameA(name, sizeof path, path, nullptr);
    return path;
}

int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: bramkot_gui_tests CASE [ARGUMENTS...]; cases:\n");
        for (const self_check::Case& testCase : self_check::Cases())
            std::printf("  %s\n", testCase.id);
        return 2;
    }
    const self_check::Case* chosen = nullptr;
    for (const self_check::Case& testCase : self_check::Cases())
        if (std::strcmp(testCase.id, argv[1]) == 0)
            chosen = &testCase;
    if (chosen == nullptr) {
        std::printf("no case %s\n", argv[1]);
        return 2;
    }
    for (int i = 2; i < argc; ++i)
        arguments.push_back(argv[i]);

    theTestApp.m_hInstance = GetModuleHandleA(nullptr);
    theTestApp.Enable3dControls();

    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    const std::string folder = MakeCaseFolder(chosen->id);
    SetCurrentDirectoryA(folder.c_str());
    const int result = self_check::RunAll(chosen->id);
    SetCurrentDirectoryA(previous);
    if (result == 0)
        RemoveFolder(folder);
    else
        std::printf("case folder kept: %s\n", folder.c_str());
    return result;
}
