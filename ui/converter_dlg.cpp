#include "converter_dlg.h"

#include "about_dlg.h"
#include "conversion_run.h"
#include "file_queue.h"
#include "path_buffer.h"
#include "settings_file.h"
#include "wide_text.h"

CConverterDlg::CConverterDlg(CWnd* pParent) : CDialog(CConverterDlg::IDD, pParent) {
    m_lamePath = "";
    m_mppdecPath = "";
    m_lameSwitches = "";
    m_mppdecSwitches = "";
    m_outputDir = "";
    m_hIcon = AfxGetApp()->LoadIcon(IDR_MAINFRAME);
}

void CConverterDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_FILE_LIST, m_fileList);
    DDX_Text(pDX, IDC_LAME_PATH, m_lamePath);
    DDX_Text(pDX, IDC_MPPDEC_PATH, m_mppdecPath);
    DDX_Text(pDX, IDC_LAME_SWITCHES, m_lameSwitches);
    DDX_Text(pDX, IDC_MPPDEC_SWITCHES, m_mppdecSwitches);
    DDX_Text(pDX, IDC_OUTPUT_DIR, m_outputDir);
}

BEGIN_MESSAGE_MAP(CConverterDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_DROPFILES()
    ON_BN_CLICKED(IDC_CLEAR_LIST, OnClearList)
    ON_BN_CLICKED(IDC_CLEAR_SELECTED, OnClearSelected)
    ON_BN_CLICKED(IDC_CONVERT, OnConvertFiles)
END_MESSAGE_MAP()

SettingsFields CConverterDlg::Settings() {
    return {m_mppdecPath, m_lamePath, m_mppdecSwitches, m_lameSwitches, m_outputDir};
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

void CConverterDlg::OnDropFiles(HDROP hDropInfo) {
    // One character more than a path may use: a name that fills it is too
    // long. A cut name can name a different file, so such names are left out.
    wchar_t name[PathBuffer::kMaxLength + 2];
    const CDropFiles drop(hDropInfo);
    const UINT count = drop.GetCount();
    // One repaint for the whole drop: a list box that repaints after each
    // of thousands of names takes minutes.
    m_fileList.SetRedraw(FALSE);
    m_fileList.InitStorage(static_cast<int>(count), 0);  // room for the whole drop at once
    for (UINT i = 0; i < count; ++i) {
        const UINT length = drop.QueryFile(i, name, PathBuffer::kMaxLength + 2);
        if (length == 0 || length > PathBuffer::kMaxLength)
            continue;
        const std::string path = Utf8FromWide(name, length);
        if (IsMusepackFileName(path.c_str()))
            m_fileList.Append(path.c_str());
    }
    m_fileList.SetRedraw(TRUE);
    m_fileList.Invalidate();
    DragFinish(hDropInfo);
}

void CConverterDlg::OnClearList() {
    m_fileList.ClearAll();
}

void CConverterDlg::OnClearSelected() {
    DeleteSelectedEntries(m_fileList);
}

void CConverterDlg::OnConvertFiles() {
    UpdateData(TRUE);
    RunConversionQueue(ToConversionSettings(Settings()), m_fileList);
}

void CConverterDlg::OnOK() {
    UpdateData(TRUE);
    SaveSettings(ToConversionSettings(Settings()));  // a failed save still closes
    CDialog::OnOK();
}
