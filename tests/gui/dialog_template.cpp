#include "dialog_template.h"

#include <commctrl.h>

#include "resource.h"

namespace {

const DWORD kChild = WS_CHILD | WS_VISIBLE;
const DWORD kEdit = kChild | ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
const DWORD kText = kChild | SS_LEFT | WS_GROUP;

const ExpectedControl kMainControls[] = {
    {IDC_MPPDEC_PATH, "Edit", "", 89, 190, 147, 14, kEdit},
    {IDC_MPPDEC_SWITCHES, "Edit", "", 327, 190, 134, 14, kEdit},
    {IDC_LAME_PATH, "Edit", "", 89, 210, 147, 14, kEdit},
    {IDC_LAME_SWITCHES, "Edit", "", 327, 210, 134, 14, kEdit},
    {IDC_OUTPUT_DIR, "Edit", "", 106, 238, 339, 14, kEdit},
    {IDC_CLEAR_LIST, "Button", "Clear List", 419, 99, 50, 14, kChild | BS_PUSHBUTTON | WS_TABSTOP},
    {IDC_CONVERT, "Button", "Convert Files", 419, 137, 50, 36, kChild | BS_PUSHBUTTON | WS_TABSTOP},
    {IDOK, "Button", "Save Settings and Exit", 415, 6, 54, 27,
     kChild | BS_DEFPUSHBUTTON | WS_TABSTOP | BS_MULTILINE},
    {-1, "Button", "Settings", 7, 183, 462, 90, kChild | BS_GROUPBOX},
    {-1, "Static", "mppdec.exe location:", 15, 193, 68, 8, kText},
    {-1, "Static", "lame.exe location:", 25, 213, 58, 8, kText},
    {IDC_FILE_LIST, "ListBox", "", 7, 20, 402, 144,
     kChild | WS_BORDER | WS_VSCROLL | WS_HSCROLL | LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT |
         LBS_NOTIFY | LBS_WANTKEYBOARDINPUT},
    {-1, "Static", "MusePack files to process (DRAG FILES HERE):", 7, 6, 159, 8, kText},
    {-1, "Static", "MPPDEC switches:", 259, 193, 62, 8, kText},
    {-1, "Static", "LAME switches:", 269, 213, 52, 8, kText},
    {IDC_CLEAR_SELECTED, "Button", "Clear Selected", 419, 116, 50, 14,
     kChild | BS_PUSHBUTTON | WS_DISABLED | WS_TABSTOP},
    {-1, "Static", "(Optional) Output Directory:", 15, 241, 86, 8, kText},
    {-1, "Button", "", 7, 229, 462, 44, kChild | BS_GROUPBOX},
    {IDC_STATUS, "Static", "", 7, 175, 402, 8, kChild | SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS},
    {-1, "Static", "Files at once:", 415, 40, 54, 8, kText},
    {IDC_FILES_AT_ONCE, "Edit", "", 415, 50, 30, 14,
     kChild | ES_LEFT | ES_NUMBER | WS_BORDER | WS_TABSTOP},
    {IDC_FILES_AT_ONCE_SPIN, "msctls_updown32", "", 445, 50, 10, 14,
     kChild | UDS_AUTOBUDDY | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS},
    {IDC_BROWSE_MPPDEC, "Button", "...", 238, 190, 14, 14, kChild | BS_PUSHBUTTON | WS_TABSTOP},
    {IDC_BROWSE_LAME, "Button", "...", 238, 210, 14, 14, kChild | BS_PUSHBUTTON | WS_TABSTOP},
    {IDC_BROWSE_OUTPUT, "Button", "...", 447, 238, 14, 14, kChild | BS_PUSHBUTTON | WS_TABSTOP},
    {IDC_FILES_AT_ONCE_NOTE, "Static", "", 415, 66, 54, 18, kChild | SS_LEFT | SS_NOPREFIX},
    {IDC_PROGRESS, "msctls_progress32", "", 7, 165, 402, 9, kChild},
    {IDC_SKIP_DONE, "Button", "Skip files whose MP3 is there", 15, 255, 200, 10,
     kChild | BS_AUTOCHECKBOX | WS_TABSTOP},
};

const ExpectedControl kReportControls[] = {
    {IDC_REPORT_TEXT, "Edit", "", 7, 7, 366, 186,
     kChild | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER | WS_TABSTOP},
    {IDOK, "Button", "Close", 323, 199, 50, 14, kChild | BS_DEFPUSHBUTTON | WS_TABSTOP},
};

const ExpectedControl kAboutControls[] = {
    {-1, "Static", nullptr, 11, 17, 20, 20, kChild | SS_ICON},
    {-1, "Static", "BRAMKOT Version 0.9 beta 2", 40, 10, 119, 8, kText | SS_NOPREFIX},
    {-1, "Static", "By the BRAMKOT developers", 40, 25, 119, 8, kText},
    {IDOK, "Button", "OK", 178, 7, 50, 14, kChild | BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP},
    {-1, "Static", "(Very crude at this point...will be improved :)", 39, 34, 137, 8, kText},
};

}  // namespace

const ExpectedDialog kMainDialog = {
    IDD_MAIN_DIALOG,
    "BRAMKOT",
    0,
    0,
    476,
    280,
    DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU,
    WS_EX_APPWINDOW,
    kMainControls,
    sizeof kMainControls / sizeof kMainControls[0]};

const ExpectedDialog kAboutDialog = {
    IDD_ABOUTBOX,
    "About BRAMKOT",
    0,
    0,
    235,
    55,
    DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
    0,
    kAboutControls,
    sizeof kAboutControls / sizeof kAboutControls[0]};

const ExpectedDialog kReportDialog = {
    IDD_REPORT,
    "Why a file did not convert",
    0,
    0,
    380,
    220,
    DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
    0,
    kReportControls,
    sizeof kReportControls / sizeof kReportControls[0]};
