#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "keep_awake.h"
#include "run_progress.h"
#include "stream_length_reader.h"
#include "taskbar_progress.h"

// A run's progress as the window shows it, from its start to its end: the
// progress bar under the list and the taskbar button, by the audio finished,
// and the time left. While it lives the system stays awake and the files'
// lengths are read ahead on a thread of their own.
class RunProgressView {
public:
    RunProgressView(HWND dialog, int progressBarId);
    // The bar empty, the taskbar button without progress, sleep allowed again.
    ~RunProgressView();
    RunProgressView(const RunProgressView&) = delete;
    RunProgressView& operator=(const RunProgressView&) = delete;

    // Entries of the run, UTF-8: those listed at its start and those
    // appended since.
    void Join(const std::vector<std::string>& paths);
    void Finish(const std::string& path, bool converted);
    // Takes in the lengths read since the last call, shows the progress and
    // returns the time left in words ("about 3 minutes left"); empty while
    // there is no telling.
    std::string Update(const std::vector<std::string>& inWork);

private:
    double SecondsSinceStart() const;

    HWND m_bar;
    DWORD m_startTicks;
    RunProgress m_progress;
    StreamLengthReader m_reader;
    TaskbarProgress m_taskbar;
    KeepSystemAwake m_awake;
    bool m_failed = false;
};

// Tells the user the run is over when the window is not in front: its
// taskbar button flashes until they come back, and the system's sound for
// a message plays once, "asterisk" when every file converted, "exclamation"
// when some did not.
void SignalRunEnd(HWND window, bool allConverted);
