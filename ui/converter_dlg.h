#pragma once

#include "afx.h"
#include "resource.h"
#include "settings_fields.h"

// The main dialog (template 102): the list of files to convert, the five
// conversion settings and the buttons that act on them.
class CConverterDlg : public CDialog {
public:
    explicit CConverterDlg(CWnd* pParent = nullptr);

    enum { IDD = IDD_MAIN_DIALOG };
    CListBox m_fileList;
    CString m_lamePath;
    CString m_mppdecPath;
    CString m_lameSwitches;
    CString m_mppdecSwitches;
    CString m_outputDir;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    HICON m_hIcon;

    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg void OnDropFiles(HDROP hDropInfo);
    afx_msg void OnClearList();
    afx_msg void OnClearSelected();
    afx_msg void OnConvertFiles();

private:
    SettingsFields Settings();

    DECLARE_MESSAGE_MAP()
};
