#pragma once

#include "afx.h"
#include "resource.h"

// The About box (template 100), opened from the main dialog's system menu.
class CAboutDlg : public CDialog {
public:
    CAboutDlg();

    enum { IDD = IDD_ABOUTBOX };

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    DECLARE_MESSAGE_MAP()
};
