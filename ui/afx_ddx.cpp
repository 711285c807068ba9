#include "afx_ddx.h"

#include "afx_wnd.h"

HWND CDataExchange::GetControl(int idc) const {
    return ::GetDlgItem(m_pDlgWnd->m_hWnd, idc);
}

void DDX_Text(CDataExchange* pDX, int idc, CString& value) {
    HWND control = pDX->GetControl(idc);
    if (pDX->m_bSaveAndValidate) {
        const int length = ::GetWindowTextLengthA(control);
        ::GetWindowTextA(control, value.GetBuffer(length), length + 1);
        value.ReleaseBuffer();
    } else {
        ::SetWindowTextA(control, value);
    }
}

void DDX_Control(CDataExchange* pDX, int idc, CWnd& control) {
    // Each run of a dialog has new control windows.
    control.m_hWnd = pDX->GetControl(idc);
}
