#pragma once

#include <map>
#include <memory>
#include <string>

#include "afx.h"
#include "conversion_run.h"
#include "resource.h"
#include "settings_fields.h"

// Posted to the main dialog each time a pipeline of its run ends.
const UINT WM_PIPELINE_ENDED = WM_APP + 1;

// The main dialog (template 102): the list of files to convert, the
// conversion settings and the buttons that act on them. A run goes on while
// the dialog answers: its pipelines end on other threads, which post
// WM_PIPELINE_ENDED to it.
class CConverterDlg : public CDialog, private RunEvents {
public:
    explicit CConverterDlg(CWnd* pParent = nullptr);
    ~CConverterDlg() override;

    enum { IDD = IDD_MAIN_DIALOG };
    CListBox m_fileList;
    CString m_lamePath;
    CString m_mppdecPath;
    CString m_lameSwitches;
    CString m_mppdecSwitches;
    CString m_outputDir;
    CString m_filesAtOnce;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    HICON m_hIcon;

    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg void OnDropFiles(HDROP hDropInfo);
    afx_msg void OnClearList();
    afx_msg void OnClearSelected();
    afx_msg void OnConvertFiles();
    afx_msg void OnFileListSelChange();
    afx_msg int OnVKeyToItem(UINT key, UINT index);
    afx_msg LRESULT OnPipelineEnded(WPARAM, LPARAM);
    afx_msg LRESULT OnTimer(WPARAM, LPARAM);
    afx_msg LRESULT OnQueryEndSession(WPARAM, LPARAM);
    afx_msg LRESULT OnEndSession(WPARAM, LPARAM);
    afx_msg LRESULT OnDestroy(WPARAM, LPARAM);

private:
    SettingsFields Settings();

    // The run (converter_dlg_run.cpp).
    void StartRun();
    void StopRun();
    void EndRun();
    void EndRunBeforeTheWindowGoes();
    void ShowRunning(bool running);
    void ShowProgress();
    void ShowStatus(const std::string& text);
    void KeepInView(int index);
    void EntryKept(int index, const FailureReport& report) override;
    const FailureReport* ReportOf(int index) const;
    void CopyEntriesToClipboard();
    bool SaveOrSayWhy();

    std::unique_ptr<PipelineRunner> m_runner;
    std::unique_ptr<ConversionRun> m_run;
    // How the dialog ends once the run is over; 0 while it stays.
    int m_endWhenRunIsOver = 0;
    // Why each failed entry failed, by the list box's item data.
    std::map<DWORD_PTR, FailureReport> m_reports;
    DWORD_PTR m_lastReport = 0;
    std::string m_summary;  // what the status line says when no run is on
    std::string m_notice;   // what the last drop left out

    DECLARE_MESSAGE_MAP()
};
