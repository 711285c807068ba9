// bramkot.exe itself (its path is the case's argument): the application
// object runs the main dialog in the program's current directory, and the
// process ends when the dialog closes.
#include <windows.h>

#include <string>

#include "child_process.h"
#include "gui_test.h"

namespace {

struct Found {
    HWND window = nullptr;
};

BOOL CALLBACK FindMain(HWND window, LPARAM param) {
    char caption[32] = {};
    GetWindowTextA(window, caption, sizeof caption);
    if (IsWindowVisible(window) && std::string(caption) == "BRAMKOT") {
        reinterpret_cast<Found*>(param)->window = window;
        return FALSE;
    }
    return TRUE;
}

// Starts the program in the current directory, presses `key` in its
// focused control once its window is up and returns its exit code (or -1).
long RunProgramAndPress(const std::string& program, UINT key) {
    ChildProcess process;
    const std::wstring path = AnsiToWide(program);
    ChildStart how;
    how.program = path.c_str();
    if (!process.Start((L"\"" + path + L"\"").c_str(), how))
        return -1;
    Found found;
    CHECK(WaitUntil(
        [&] {
            EnumThreadWindows(process.ThreadId(), FindMain, reinterpret_cast<LPARAM>(&found));
            return found.window != nullptr;
        },
        30000));
    if (found.window != nullptr) {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        WaitUntil([&] {
            return GetGUIThreadInfo(process.ThreadId(), &info) && info.hwndFocus != nullptr;
        });
        CHECK_EQ(GetDlgCtrlID(info.hwndFocus), 1001);
        // The icons are checked in-process: asked from another process,
        // Wine here answers WM_GETICON with no icon although one is set.
        CHECK_EQ(WindowText(found.window), "BRAMKOT");
        PostMessageA(info.hwndFocus, WM_KEYDOWN, key, 1);
    }
    DWORD code = static_cast<DWORD>(-1);
    if (process.Wait(30000))
        code = process.ExitCode();
    else
        process.End(9);
    return static_cast<long>(code);
}

}  // namespace

TEST_CASE(program_runs_in_its_current_directory_and_ends_with_the_dialog,
          "program runs in its current directory and ends with the dialog") {
    if (!HasCaseArguments(1))
        return;
    const std::string program = WindowsPath(CaseArguments()[0]);

    // Escape: the process ends, nothing written.
    CHECK_EQ(RunProgramAndPress(program, VK_ESCAPE), 0);
    CHECK(!PathExists("bramkot.ini"));

    // Enter: the defaults it showed are saved here, in the current directory.
    CHECK_EQ(RunProgramAndPress(program, VK_RETURN), 0);
    CHECK_EQ(
        ReadFileBytes("bramkot.ini"),
        "C:\\mppdec\\mppdec.exe\r\nC:\\LAME\\lame.exe\r\n--gain 2\r\n--alt-preset 128\r\n\r\n0\r\n\r\n");
}
