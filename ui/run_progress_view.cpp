#include "run_progress_view.h"

#include <commctrl.h>

namespace {

const int kBarSteps = 1000;

}  // namespace

RunProgressView::RunProgressView(HWND dialog, int progressBarId)
    : m_bar(::GetDlgItem(dialog, progressBarId)),
      m_startTicks(::GetTickCount()),
      m_taskbar(dialog) {
    ::SendMessageA(m_bar, PBM_SETRANGE32, 0, kBarSteps);
    ::SendMessageA(m_bar, PBM_SETPOS, 0, 0);
}

RunProgressView::~RunProgressView() {
    ::SendMessageA(m_bar, PBM_SETPOS, 0, 0);
}

double RunProgressView::SecondsSinceStart() const {
    return (::GetTickCount() - m_startTicks) / 1000.0;
}

void RunProgressView::Join(const std::vector<std::string>& paths) {
    for (const std::string& path : paths)
        m_progress.Join(path);
    m_reader.Read(paths);
}

void RunProgressView::Finish(const std::string& path, bool converted) {
    m_progress.Finish(path, SecondsSinceStart());
    m_failed = m_failed || !converted;
}

std::string RunProgressView::Update(const std::vector<std::string>& inWork) {
    for (const StreamLengthReader::Length& length : m_reader.TakeRead())
        m_progress.LengthRead(length.path, length.seconds);
    const double fraction = m_progress.Fraction();
    ::SendMessageA(m_bar, PBM_SETPOS, static_cast<WPARAM>(fraction * kBarSteps), 0);
    m_taskbar.Show(fraction, m_failed);
    const double secondsLeft = m_progress.SecondsLeft(SecondsSinceStart(), inWork);
    return secondsLeft < 0 ? std::string() : TimeLeftText(secondsLeft);
}

void SignalRunEnd(HWND window, bool allConverted) {
    if (::GetForegroundWindow() == window)
        return;
    FLASHWINFO flash = {sizeof flash, window, FLASHW_TRAY | FLASHW_TIMERNOFG, 0, 0};
    ::FlashWindowEx(&flash);
    ::MessageBeep(allConverted ? MB_ICONASTERISK : MB_ICONEXCLAMATION);
}
