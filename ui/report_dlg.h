#pragma once

#include <string>

#include "afx.h"
#include "conversion_run.h"
#include "resource.h"

// The whole story of a file that did not convert (template 103): why, the
// line that ran and all the tools printed, in a read-only text the user can
// select and copy from. Escape closes it.
class CReportDlg : public CDialog {
public:
    CReportDlg(const std::string& path, const FailureReport& report, CWnd* parent);

    enum { IDD = IDD_REPORT };

protected:
    BOOL OnInitDialog() override;

private:
    std::string m_path;  // UTF-8
    FailureReport m_report;
};

// The report's text, UTF-8, with the CR LF line ends of an edit control.
std::string ReportText(const std::string& path, const FailureReport& report);
