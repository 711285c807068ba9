#include "report_dlg.h"

#include "text_conversion.h"

namespace {

// Every line end, lone CR (a tool's progress line) and lone LF alike, as CR LF.
std::string WithWindowsLineEnds(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            out += "\r\n";
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

void SetWideText(HWND window, const std::string& utf8) {
    Utf16Text wide;
    ToUtf16(utf8, wide);
    ::SetWindowTextW(window, wide.c_str());
}

}  // namespace

std::string ReportText(const std::string& path, const FailureReport& report) {
    std::string text = path + "\n\nWhy: " + report.reason + "\n\nThe line that ran:\n";
    text += report.batchLine.empty() ? "(none: nothing ran)" : report.batchLine;
    text += "\n\nWhat the command processor and the tools printed (the last 8 KB):\n";
    text += report.toolOutput.empty() ? "(nothing)" : report.toolOutput;
    return WithWindowsLineEnds(text);
}

CReportDlg::CReportDlg(const std::string& path, const FailureReport& report, CWnd* parent)
    : CDialog(IDD, parent), m_path(path), m_report(report) {}

BOOL CReportDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    const std::size_t backslash = m_path.rfind('\\');
    SetWideText(m_hWnd, "Why " + m_path.substr(backslash == std::string::npos ? 0 : backslash + 1) +
                            " did not convert");
    const HWND text = ::GetDlgItem(m_hWnd, IDC_REPORT_TEXT);
    SetWideText(text, ReportText(m_path, m_report));
    // The text gets the focus with nothing selected, at its start.
    ::SetFocus(text);
    ::SendMessageA(text, EM_SETSEL, 0, 0);
    return FALSE;
}
