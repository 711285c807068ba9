#pragma once

#include <windows.h>

#include "afx_string.h"

class CWnd;

// The direction and the window of one data exchange (UpdateData).
class CDataExchange {
public:
    CDataExchange(CWnd* dlgWnd, BOOL saveAndValidate)
        : m_pDlgWnd(dlgWnd), m_bSaveAndValidate(saveAndValidate) {}

    HWND GetControl(int idc) const;

    CWnd* m_pDlgWnd;
    BOOL m_bSaveAndValidate;  // TRUE: controls to members
    bool m_failed = false;    // a control was missing or would not give its text
};

// The text of control `idc`, of any length, and `value`.
void DDX_Text(CDataExchange* pDX, int idc, CString& value);

// A check box and its setting's text: checked is "1", unchecked empty.
void DDX_Check(CDataExchange* pDX, int idc, CString& value);

// Attaches `control` to the dialog's control `idc`.
void DDX_Control(CDataExchange* pDX, int idc, CWnd& control);
