#include "converter_dlg.h"

#include <commctrl.h>

#include "about_dlg.h"
#include "file_queue.h"
#include "path_buffer.h"
#include "settings_file.h"
#include "text_conversion.h"

CConverterDlg::CConverterDlg(CWnd* pParent) : CDialog(CConverterDlg::IDD, pParent) {
    m_lamePath = "";
    m_mppdecPath = "";
    m_lameSwitches = "";
    m_mppdecSwitches = "";
    m_outputDir = "";
    m_filesAtOnce = "";
    m_skipDone = "";
    m_hIcon = AfxGetApp()->LoadIcon(IDR_MAINFRAME);
}

// A run never outlives the window: it ends in OnDestroy.
CConverterDlg::~CConverterDlg() = default;

void CConverterDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_FILE_LIST, m_fileList);
    const SettingsFields fields = Settings();
    for (int i = 0; i < kSettingCount; ++i) {
        if (kSettingRows[i].yesOrNo)
            DDX_Check(pDX, kSettingRowControls[i], *fields.fields[i]);
        else
            DDX_Text(pDX, kSettingRowControls[i], *fields.fields[i]);
    }
}

BEGIN_MESSAGE_MAP(CConverterDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_DROPFILES()
    ON_BN_CLICKED(IDC_CLEAR_LIST, OnClearList)
    ON_BN_CLICKED(IDC_CLEAR_SELECTED, OnClearSelected)
    ON_BN_CLICKED(IDC_CONVERT, OnConvertFiles)
    ON_LBN_SELCHANGE(IDC_FILE_LIST, OnFileListSelChange)
    ON_LBN_DBLCLK(IDC_FILE_LIST, OnFileListDblClk)
    ON_WM_TIMER()
    ON_WM_VKEYTOITEM()
    ON_MESSAGE(WM_PIPELINE_ENDED, OnPipelineEnded)
    ON_BN_CLICKED(IDC_BROWSE_MPPDEC, OnBrowseMppdec)
    ON_BN_CLICKED(IDC_BROWSE_LAME, OnBrowseLame)
    ON_BN_CLICKED(IDC_BROWSE_OUTPUT, OnBrowseOutput)
    ON_MESSAGE(WM_DROP_WALK, OnDropWalk)
    ON_MESSAGE(WM_QUERYENDSESSION, OnQueryEndSession)
    ON_MESSAGE(WM_ENDSESSION, OnEndSession)
    ON_MESSAGE(WM_DESTROY, OnDestroy)
END_MESSAGE_MAP()

SettingsFields CConverterDlg::Settings() {
    return {{&m_mppdecPath, &m_lamePath, &m_mppdecSwitches, &m_lameSwitches, &m_outputDir,
             &m_filesAtOnce, &m_skipDone}};
}

BOOL CConverterDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    // "About..." at the end of the system menu.
    CMenu* pSysMenu = GetSystemMenu(FALSE);
    if (pSysMenu != nullptr) {
        CString strAboutMenu;
        strAboutMenu.LoadString(IDS_ABOUTBOX);
        if (!strAboutMenu.IsEmpty()) {
            pSysMenu->AppendMenu(MF_SEPARATOR);
            pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, strAboutMenu);
        }
    }

    SetIcon(m_hIcon, TRUE);   // big icon
    SetIcon(m_hIcon, FALSE);  // small icon

    DragAcceptFiles(TRUE);
    SendDlgItemMessageA(m_hWnd, IDC_FILES_AT_ONCE_SPIN, UDM_SETRANGE32, 0, kMostFilesAtOnce);
    ShowFilesAtOnceNote();

    // A settings file without a fifth line leaves the output directory as it is.
    ConversionSettings settings = ToConversionSettings(Settings());
    LoadSettings(settings);
    AssignSettingsFields(Settings(), settings);
    UpdateData(FALSE);

    return TRUE;  // the focus goes to the first control of the tab order
}

void CConverterDlg::OnSysCommand(UINT nID, LPARAM lParam) {
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    } else {
        CDialog::OnSysCommand(nID, lParam);
    }
}

// Draws the icon of the minimised window.
void CConverterDlg::OnPaint() {
    if (IsIconic()) {
        CPaintDC dc(this);
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);

        const int cxIcon = GetSystemMetrics(SM_CXICON);
        const int cyIcon = GetSystemMetrics(SM_CYICON);
        RECT rect;
        GetClientRect(&rect);
        const int x = (rect.right - rect.left - cxIcon + 1) / 2;
        const int y = (rect.bottom - rect.top - cyIcon + 1) / 2;

        dc.DrawIcon(x, y, m_hIcon);
    } else {
        CDialog::OnPaint();
    }
}

// The picture shown while the minimised window is dragged.
HCURSOR CConverterDlg::OnQueryDragIcon() {
    return static_cast<HCURSOR>(m_hIcon);
}

namespace {

// Whether the whole name of a dropped file, of any length, ends as a Musepack file's.
bool IsMusepackName(const CDropFiles& drop, UINT index) {
    std::vector<wchar_t> whole(drop.QueryFile(index, nullptr, 0) + 1);
    const UINT length = drop.QueryFile(index, whole.data(), static_cast<UINT>(whole.size()));
    std::string name;
    ToUtf8(whole.data(), length, name);
    return IsMusepackFileName(name.c_str());
}

}  // namespace

void CConverterDlg::OnDropFiles(HDROP hDropInfo) {
    // A walk still on ends first: this drop's files come after what it found.
    EndWalk();
    // One character more than a path may use: a name that fills it is too
    // long. A cut name can name a different file, so such names are left out.
    wchar_t name[PathBuffer::kMaxLength + 2];
    const CDropFiles drop(hDropInfo);
    const UINT count = drop.GetCount();
    if (StartWalk(drop)) {
        FinishDrop(hDropInfo);
        ShowProgress();
        return;
    }
    UINT tooLong = 0;
    // One repaint for the whole drop: a list box that repaints after each
    // of thousands of names takes minutes.
    m_fileList.SetRedraw(FALSE);
    m_fileList.InitStorage(static_cast<int>(count), 0);  // room for the whole drop at once
    for (UINT i = 0; i < count; ++i) {
        const UINT length = drop.QueryFile(i, name, PathBuffer::kMaxLength + 2);
        if (length > PathBuffer::kMaxLength && IsMusepackName(drop, i))
            ++tooLong;
        if (length == 0 || length > PathBuffer::kMaxLength)
            continue;
        std::string path;
        ToUtf8(name, length, path);
        if (IsMusepackFileName(path.c_str()))
            m_queue.Append(path.c_str());
    }
    m_fileList.SetRedraw(TRUE);
    m_fileList.Invalidate();
    FinishDrop(hDropInfo);
    m_notice = tooLong == 0 ? std::string()
                            : std::to_string(tooLong) +
                                  (tooLong == 1 ? " dropped name was" : " dropped names were") +
                                  " not listed: longer than 499 characters";
    ShowProgress();
}

void CConverterDlg::OnClearList() {
    m_walk.reset();
    m_queue.ClearAll();
    m_reports.clear();
    m_summary.clear();
    m_notice.clear();
    ShowClearSelected();
    ShowProgress();
}

// Not during a run: the run goes on after the last entry it began.
void CConverterDlg::OnClearSelected() {
    if (m_run != nullptr)
        return;
    m_fileList.SetRedraw(FALSE);  // one repaint, not one an entry
    DeleteSelectedEntries(m_queue);
    m_fileList.SetRedraw(TRUE);
    m_fileList.Invalidate();
    ShowClearSelected();
    ShowProgress();
}

// "Stop", then "End Now", while a run goes on.
void CConverterDlg::OnConvertFiles() {
    if (m_run != nullptr) {
        StopRun();
        return;
    }
    if (UpdateData(TRUE) && ToolsAreThere())
        StartRun();
}

// A failed save keeps the window open, so that no setting is lost without a
// word. During a run the window closes once the files in work are done.
// Enter on a failed entry of the list opens its report instead.
void CConverterDlg::OnOK() {
    if (::GetFocus() == m_fileList.m_hWnd && ShowReport(m_fileList.GetCaretIndex()))
        return;
    if (!UpdateData(TRUE) || !SaveOrSayWhy())
        return;
    if (m_run == nullptr) {
        CDialog::OnOK();
        return;
    }
    m_endWhenRunIsOver = IDOK;
    StopRun();
}

// Escape and the close box: during a run, as "Stop", and the window closes
// once the files in work are done; pressed again, as "End Now".
void CConverterDlg::OnCancel() {
    if (m_walk != nullptr) {  // Escape ends a walk first, keeping what it found
        EndWalk();
        return;
    }
    if (m_run == nullptr) {
        CDialog::OnCancel();
        return;
    }
    if (m_endWhenRunIsOver == 0) {
        m_endWhenRunIsOver = IDCANCEL;
        m_run->Stop();
        ShowRunning(true);
        ShowProgress();
        return;
    }
    StopRun();
}
