// The resource IDs of BRAMKOT.
#pragma once

#define IDM_ABOUTBOX 0x0010
#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_MAIN_DIALOG 102
#define IDR_MAINFRAME 128

#define IDC_FILE_LIST 1000
#define IDC_MPPDEC_PATH 1001
#define IDC_LAME_PATH 1002
#define IDC_MPPDEC_SWITCHES 1003
#define IDC_LAME_SWITCHES 1004
#define IDC_CONVERT 1005
#define IDC_CLEAR_LIST 1006
#define IDC_CLEAR_SELECTED 1007
#define IDC_OUTPUT_DIR 1008
#define IDC_STATUS 1009
#define IDC_FILES_AT_ONCE 1010
#define IDC_FILES_AT_ONCE_SPIN 1011
#define IDC_SKIP_DONE 1012

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// The framework's help command.
#ifndef ID_HELP
#define ID_HELP 0xE146
#endif
