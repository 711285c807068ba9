#pragma once

// A small harness that drives the real dialogs in-process: the dialog runs
// modally on the main thread, as in the program, while a driver thread works
// it through the dialog manager (keys posted to the focused control, button
// clicks, shell drops, system commands) and checks what it shows.

#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "self_check.h"
#include "test_files.h"

class CDialog;

// One program runs one case (TEST_CASE), chosen by its id on the command
// line, in a fresh case folder. The command line's arguments after the id:
const std::vector<std::string>& CaseArguments();
// Whether the case has `count` arguments; a failed check when it has not.
bool HasCaseArguments(std::size_t count);

// Runs `dialog` modally on this thread; `driver` runs on a second thread
// with the dialog's window once it is shown and its loop runs. If the
// driver leaves the dialog open, it is cancelled. Returns DoModal's result.
INT_PTR RunDialog(CDialog& dialog, const char* caption, const std::function<void(HWND)>& driver);

// A visible dialog window of the main thread with this caption, waiting up
// to `timeoutMs`; null if none appears.
HWND WaitForDialog(const char* caption, DWORD timeoutMs = 30000);
// A window of the dialog's thread that the dialog owns (a message box or a
// system dialog); null when there is none.
HWND OwnedWindow(HWND dialog);
// Waits until `condition` holds, up to `timeoutMs`; returns whether it did.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 10000);
// Lets the dialog thread process everything sent or posted so far.
void Sync(HWND dialog);
// Runs `function` on the dialog thread, in its loop, behind everything
// posted so far; returns when it has run.
void RunOnDialogThread(const std::function<void()>& function);

// The window that has the keyboard focus on the dialog's thread.
HWND FocusedWindow();
// A key pressed in the focused control (posted, so it passes the dialog
// manager of the modal loop), then synchronised.
void PressKey(HWND dialog, UINT virtualKey);
// Clicks a button the way the mouse would (BM_CLICK), from the driver.
void ClickButton(HWND dialog, int id);
// "Convert Files" and the wait until its run is over (the title reads
// "BRAMKOT" and the button "Convert Files" again); false when it is not
// over within `timeoutMs`.
bool ConvertAndWait(HWND dialog, DWORD timeoutMs = 60000);

std::string WindowText(HWND window);
void SetControlText(HWND dialog, int id, const std::string& text);
std::string ControlText(HWND dialog, int id);

// A DROPFILES block whose name list is `bytes` of `list` as they are, with the
// NULs the caller put in.
HDROP DropBlock(const void* list, std::size_t bytes, BOOL wide);
// A shell drop of `names` (DROPFILES, ANSI) sent to the dialog; returns the
// drop handle, which the dialog must have released.
HDROP DropFiles(HWND dialog, const std::vector<std::string>& names);
// The list box's entries (read on the dialog thread; ListEntriesHere from it).
std::vector<std::string> ListEntries(HWND dialog, int id);
std::vector<std::string> ListEntriesHere(HWND dialog, int id);

// The full path of a name in the current directory.
std::string FullPath(const char* name);
