#pragma once

#include <map>
#include <memory>
#include <string>

#include "afx.h"
#include "conversion_run.h"
#include "drop_walk.h"
#include "list_box_queue.h"
#include "resource.h"
#include "run_progress_view.h"
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
    ListBoxQueue m_queue{m_fileList};  // the list as the run reads it
    CString m_lamePath;
    CString m_mppdecPath;
    CString m_lameSwitches;
    CString m_mppdecSwitches;
    CString m_outputDir;
    CString m_filesAtOnce;
    CString m_skipDone;

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
    afx_msg void OnBrowseMppdec();
    afx_msg void OnBrowseLame();
    afx_msg void OnBrowseOutput();
    afx_msg void OnFileListDblClk();
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg LRESULT OnDropWalk(WPARAM, LPARAM);
    afx_msg LRESULT OnQueryEndSession(WPARAM, LPARAM);
    afx_msg LRESULT OnEndSession(WPARAM, LPARAM);
    afx_msg LRESULT OnDestroy(WPARAM, LPARAM);

private:
    SettingsFields Settings();

    // The tool settings (converter_dlg_tools.cpp).
    bool ToolsAreThere();
    void BrowseForProgram(int field, const wchar_t* title);
    void ShowFilesAtOnceNote();

    // The run (converter_dlg_run.cpp).
    void StartRun();
    void StopRun();
    // `signal`: flash and sound when the window is in the background.
    void EndRun(bool signal = true);
    void EndRunBeforeTheWindowGoes();
    void ShowRunning(bool running);
    void ShowProgress(bool keepWorkInView = true);
    void ShowStatus(const std::string& text);
    void KeepInView(int index);
    void EntryKept(int index, const FailureReport& report) override;
    void EntryConverted(int index) override;
    void JoinNewEntries();
    const FailureReport* ReportOf(int index) const;
    bool ShowReport(int index);
    void CopyEntriesToClipboard();
    bool SaveOrSayWhy();
    void ShowClearSelected();

    // A drop that holds folders (converter_dlg_walk.cpp).
    bool StartWalk(const CDropFiles& drop);
    void TakeFound(std::size_t most);
    void EndWalk();
    std::string WalkStatus() const;

    std::unique_ptr<PipelineRunner> m_runner;
    std::unique_ptr<ConversionRun> m_run;
    std::unique_ptr<RunProgressView> m_progressView;
    // The list's entries from the top that have joined the run's progress.
    int m_entriesJoined = 0;
    // The status line shows why a clicked entry failed.
    bool m_reasonShown = false;
    std::unique_ptr<DropWalk> m_walk;
    // How the dialog ends once the run is over; 0 while it stays.
    int m_endWhenRunIsOver = 0;
    // Why each failed entry failed, by its id.
    std::map<EntryId, FailureReport> m_reports;
    std::string m_summary;  // what the status line says when no run is on
    std::string m_notice;   // what the last drop left out

    DECLARE_MESSAGE_MAP()
};
