#pragma once

#include <windows.h>

struct ITaskbarList3;

// The progress on the window's taskbar button, where the taskbar shows one
// (Windows 7 and later). The taskbar's interface is asked for when the
// object is made, so the program asks nothing of older systems; without
// it, Show does nothing.
class TaskbarProgress {
public:
    explicit TaskbarProgress(HWND window);
    // The button shows no progress any more.
    ~TaskbarProgress();
    TaskbarProgress(const TaskbarProgress&) = delete;
    TaskbarProgress& operator=(const TaskbarProgress&) = delete;

    // `fraction` of the button filled (0 to 1), in the error colour once a
    // file has failed.
    void Show(double fraction, bool failed);

private:
    HWND m_window;
    ITaskbarList3* m_taskbar = nullptr;
    bool m_comStarted = false;
};
