// The main dialog while a run goes on, and what it says when the run is over.
#include <algorithm>
#include <cstring>

#include "converter_dlg.h"
#include "file_system.h"
#include "report_dlg.h"
#include "settings_file.h"
#include "text_conversion.h"

namespace {

// While a run is on, ended pipelines are also collected at this pace: a
// posted WM_PIPELINE_ENDED can be lost (a full message queue).
const UINT_PTR kCollectTimer = 1;
const UINT kCollectEveryMs = 250;
// Moves the time left on while long files are in work.
const UINT_PTR kProgressTimer = 2;

// The settings' controls, which keep the values the run started with.
const int kSettingControls[] = {IDC_MPPDEC_PATH,   IDC_MPPDEC_SWITCHES,    IDC_LAME_PATH,
                                IDC_LAME_SWITCHES, IDC_OUTPUT_DIR,         IDC_CLEAR_LIST,
                                IDC_FILES_AT_ONCE, IDC_FILES_AT_ONCE_SPIN, IDC_BROWSE_MPPDEC,
                                IDC_BROWSE_LAME,   IDC_BROWSE_OUTPUT,      IDC_SKIP_DONE};

std::string Counted(int count, const char* one, const char* many) {
    return std::to_string(count) + ' ' + (count == 1 ? one : many);
}

std::string FileName(const std::string& path) {
    const std::size_t backslash = path.rfind('\\');
    return backslash == std::string::npos ? path : path.substr(backslash + 1);
}

void SetWideText(HWND window, const std::string& utf8) {
    Utf16Text wide;
    ToUtf16(utf8, wide);
    ::SetWindowTextW(window, wide.c_str());
}

// CR LF line ends, as Windows programs paste them.
void AppendForClipboard(const std::string& text, std::string& out) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            out += '\r';
        out += text[i];
    }
    out += "\r\n";
}

}  // namespace

void CConverterDlg::StartRun() {
    const HWND window = m_hWnd;
    m_runner = MakeBatchFileRunner([window] { ::PostMessageA(window, WM_PIPELINE_ENDED, 0, 0); });
    ::SetTimer(m_hWnd, kCollectTimer, kCollectEveryMs, nullptr);
    m_run.reset(new ConversionRun(ToConversionSettings(Settings()), m_queue, *m_runner, this));
    m_progressView.reset(new RunProgressView(m_hWnd, IDC_PROGRESS));
    m_entriesJoined = 0;
    JoinNewEntries();
    ::SetTimer(m_hWnd, kProgressTimer, 1000, nullptr);
    m_summary.clear();
    m_run->StartFiles();
    if (m_run->Over() && m_walk == nullptr) {
        EndRun();
        return;
    }
    ShowRunning(true);
    ShowProgress();
}

// "Stop" first: no new file starts. Then "End Now": the files in work end.
void CConverterDlg::StopRun() {
    if (!m_run->Stopped())
        m_run->Stop();
    else
        m_run->EndNow();
    ShowRunning(true);
    ShowProgress();
}

LRESULT CConverterDlg::OnPipelineEnded(WPARAM, LPARAM) {
    if (m_run == nullptr)
        return 0;
    m_run->Collect();
    // Files a walk still finds join the run, unless it was stopped.
    if (m_run->Over() && (m_walk == nullptr || m_run->Stopped()))
        EndRun();
    else
        ShowProgress();
    return 0;
}

// The files in work end, and their pipelines with every process of them,
// their work files and batch files gone, before the window does.
void CConverterDlg::EndRunBeforeTheWindowGoes() {
    if (m_run == nullptr)
        return;
    m_run->EndNowAndWait();
    m_endWhenRunIsOver = 0;
    EndRun(false);
}

// Windows ends the program soon after: the run does not wait for that.
LRESULT CConverterDlg::OnQueryEndSession(WPARAM, LPARAM) {
    EndRunBeforeTheWindowGoes();
    return TRUE;
}

LRESULT CConverterDlg::OnEndSession(WPARAM ending, LPARAM) {
    if (ending)
        EndRunBeforeTheWindowGoes();
    return 0;
}

LRESULT CConverterDlg::OnDestroy(WPARAM, LPARAM) {
    m_walk.reset();
    EndRunBeforeTheWindowGoes();
    return 0;
}

void CConverterDlg::EndRun(bool signal) {
    const int notRun = m_run->Total() - m_run->Finished();
    std::string summary = m_run->Problem().empty() ? std::string() : m_run->Problem() + ". ";
    summary += Counted(m_run->Converted(), "file converted", "files converted");
    if (m_run->Skipped() > 0)
        summary += "; " + std::to_string(m_run->Skipped()) + " skipped: their MP3 was there";
    if (m_run->Kept() > 0)
        summary +=
            "; " + std::to_string(m_run->Kept()) +
            " did not and stay listed (a click shows why, a double-click all of it; Ctrl+C copies it)";
    if (notRun > 0)
        summary += "; " + Counted(notRun, "file", "files") + " not run";
    m_summary = summary + '.';
    const bool allConverted = m_run->Converted() == m_run->Total();
    ::KillTimer(m_hWnd, kProgressTimer);
    m_progressView.reset();
    ::KillTimer(m_hWnd, kCollectTimer);
    m_run.reset();
    m_runner.reset();
    ShowRunning(false);
    ShowProgress();
    if (m_endWhenRunIsOver != 0)
        EndDialog(m_endWhenRunIsOver);
    else if (signal)
        SignalRunEnd(m_hWnd, allConverted);
}

void CConverterDlg::ShowRunning(bool running) {
    for (int id : kSettingControls)
        ::EnableWindow(::GetDlgItem(m_hWnd, id), !running);
    ShowClearSelected();
    const HWND convert = ::GetDlgItem(m_hWnd, IDC_CONVERT);
    ::SetWindowTextA(convert, !running ? "Convert Files" : m_run->Stopped() ? "End Now" : "Stop");
    // A disabled control cannot keep the focus.
    const HWND focus = ::GetFocus();
    if (running && focus != nullptr && !::IsWindowEnabled(focus))
        SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(convert), TRUE);
}

// The title, the progress bar and the status line: the files finished, the
// time left and the files in work (the first of them kept in view), or the
// last run's summary.
void CConverterDlg::ShowProgress(bool keepWorkInView) {
    std::string status = m_summary;
    if (m_run != nullptr) {
        const std::string title = std::to_string(m_run->Finished()) + " of " +
                                  std::to_string(m_run->Total()) + " - BRAMKOT";
        ::SetWindowTextA(m_hWnd, title.c_str());
        const std::vector<EntryInWork> inWork = m_run->FilesInWork();
        JoinNewEntries();
        std::vector<std::string> inWorkPaths;
        for (const EntryInWork& entry : inWork)
            inWorkPaths.push_back(entry.path);
        std::string timeLeft = m_progressView->Update(inWorkPaths);
        if (!timeLeft.empty())
            timeLeft[0] = static_cast<char>(timeLeft[0] - 'a' + 'A');
        if (m_run->Stopped())
            status = inWork.size() == 1
                         ? "Stopping when this file is done (End Now ends it): "
                         : "Stopping when these files are done (End Now ends them): ";
        else
            status = (timeLeft.empty() ? "" : timeLeft + ". ") + "Converting ";
        for (std::size_t i = 0; i < inWork.size(); ++i)
            status += (i > 0 ? ", " : "") +
                      (inWork.size() == 1 ? inWork[i].path : FileName(inWork[i].path));
        if (!inWork.empty() && keepWorkInView)
            KeepInView(inWork.front().index);
    } else {
        ::SetWindowTextA(m_hWnd, "BRAMKOT");
    }
    if (m_walk != nullptr)
        status = WalkStatus() + (status.empty() ? "" : " - " + status);
    if (!m_notice.empty())
        status += status.empty() ? m_notice : " - " + m_notice;
    ShowStatus(status);
    m_reasonShown = false;
}

// The collect timer finds the ends of pipelines whose message was lost. The
// progress timer moves the time left on once a second, unless the status
// line shows why a clicked entry failed; the list stays where the user
// scrolled it.
void CConverterDlg::OnTimer(UINT_PTR id) {
    if (id == kCollectTimer)
        OnPipelineEnded(0, 0);
    else if (id == kProgressTimer && m_run != nullptr && !m_reasonShown)
        ShowProgress(false);
}

// Scrolls the list only when the entry is out of sight.
void CConverterDlg::KeepInView(int index) {
    RECT list;
    ::GetClientRect(m_fileList.m_hWnd, &list);
    const int itemHeight = std::max(1, static_cast<int>(m_fileList.SendMessage(LB_GETITEMHEIGHT)));
    const int visible = std::max(1, static_cast<int>(list.bottom) / itemHeight);
    const int top = m_fileList.GetTopIndex();
    if (index < top || index >= top + visible)
        m_fileList.SetTopIndex(std::max(0, index - visible + 1));
}

void CConverterDlg::ShowStatus(const std::string& text) {
    SetWideText(::GetDlgItem(m_hWnd, IDC_STATUS), text);
}

void CConverterDlg::EntryKept(int index, const FailureReport& report) {
    m_reports[m_queue.IdAt(index)] = report;
    if (m_progressView != nullptr) {
        JoinNewEntries();
        m_progressView->Finish(ToUtf8(m_fileList.GetTextWide(index)), false);
    }
}

void CConverterDlg::EntryConverted(int index) {
    if (m_progressView == nullptr)
        return;
    JoinNewEntries();
    m_progressView->Finish(ToUtf8(m_fileList.GetTextWide(index)), true);
    --m_entriesJoined;
}

// The entries appended since the last call join the run's progress: those
// of a drop, or all of the list at the start of the run.
void CConverterDlg::JoinNewEntries() {
    const int count = m_fileList.GetCount();
    std::vector<std::string> paths;
    paths.reserve(static_cast<std::size_t>(std::max(0, count - m_entriesJoined)));
    for (; m_entriesJoined < count; ++m_entriesJoined)
        paths.push_back(ToUtf8(m_fileList.GetTextWide(m_entriesJoined)));
    m_progressView->Join(paths);
}

const FailureReport* CConverterDlg::ReportOf(int index) const {
    const auto found = m_reports.find(m_queue.IdAt(index));
    return found == m_reports.end() ? nullptr : &found->second;
}

// A failed entry, clicked, says why in the status line.
void CConverterDlg::OnFileListSelChange() {
    ShowClearSelected();
    const int index = m_fileList.GetCaretIndex();
    const FailureReport* report = index >= 0 ? ReportOf(index) : nullptr;
    if (report == nullptr) {
        ShowProgress();
        return;
    }
    ShowStatus(FileName(ToUtf8(m_fileList.GetTextWide(index))) + ": " + report->reason);
    m_reasonShown = true;
}

void CConverterDlg::OnFileListDblClk() {
    ShowReport(m_fileList.GetCaretIndex());
}

// A failed entry's whole story in a window of its own; false for an entry
// without one.
bool CConverterDlg::ShowReport(int index) {
    const FailureReport* report = index >= 0 ? ReportOf(index) : nullptr;
    if (report == nullptr)
        return false;
    CReportDlg dialog(ToUtf8(m_fileList.GetTextWide(index)), *report, this);
    dialog.DoModal();
    return true;
}

int CConverterDlg::OnVKeyToItem(UINT key, UINT) {
    if (key == VK_DELETE) {
        OnClearSelected();
        return -2;
    }
    if (key != 'C' || ::GetKeyState(VK_CONTROL) >= 0)
        return -1;  // the list box's own handling
    CopyEntriesToClipboard();
    return -2;
}

// The selected entries, and for each failed one why, its batch line and
// what the tools printed: for a bug report or a forum post.
void CConverterDlg::CopyEntriesToClipboard() {
    std::vector<int> selected(static_cast<std::size_t>(m_fileList.GetCount()) + 1);
    const int count = m_fileList.GetSelItems(static_cast<int>(selected.size()), selected.data());
    std::string text;
    for (int i = 0; i < count; ++i) {
        AppendForClipboard(ToUtf8(m_fileList.GetTextWide(selected[i])), text);
        const FailureReport* report = ReportOf(selected[i]);
        if (report == nullptr)
            continue;
        AppendForClipboard("Why: " + report->reason, text);
        if (!report->mp3.empty())
            AppendForClipboard("MP3: " + report->mp3, text);
        if (!report->batchLine.empty())
            AppendForClipboard("Batch line: " + report->batchLine, text);
        if (!report->toolOutput.empty())
            AppendForClipboard("The tools printed:\n" + report->toolOutput, text);
        text += "\r\n";
    }
    Utf16Text wide;
    ToUtf16(text, wide);
    if (wide.empty() || !::OpenClipboard(m_hWnd))
        return;
    ::EmptyClipboard();
    const std::size_t bytesWithNul = (wide.size() + 1) * sizeof(wchar_t);
    const HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytesWithNul);
    void* bytes = memory != nullptr ? ::GlobalLock(memory) : nullptr;
    if (bytes != nullptr) {
        std::memcpy(bytes, wide.c_str(), bytesWithNul);
        ::GlobalUnlock(memory);
        if (::SetClipboardData(CF_UNICODETEXT, memory) == nullptr)
            ::GlobalFree(memory);
    }
    ::CloseClipboard();
}

// "Clear Selected" and Delete act when entries are selected and no run is on.
void CConverterDlg::ShowClearSelected() {
    const HWND button = ::GetDlgItem(m_hWnd, IDC_CLEAR_SELECTED);
    const bool enabled = m_run == nullptr && m_fileList.SendMessage(LB_GETSELCOUNT) > 0;
    if (!enabled && ::GetFocus() == button)
        SendMessage(WM_NEXTDLGCTL, 0, FALSE);  // a disabled control cannot keep the focus
    ::EnableWindow(button, enabled);
}

bool CConverterDlg::SaveOrSayWhy() {
    std::string problem;
    if (SaveSettings(ToConversionSettings(Settings()), &problem))
        return true;
    const std::string text = "The settings cannot be saved to " +
                             ToUtf8(FullPathInCurrentDirectory(kSettingsFileName)) + ":\n" +
                             problem + "\n\nBRAMKOT stays open, so that they are not lost.";
    Utf16Text wide;
    ToUtf16(text, wide);
    ::MessageBoxW(m_hWnd, wide.c_str(), L"BRAMKOT", MB_OK | MB_ICONWARNING);
    return false;
}
