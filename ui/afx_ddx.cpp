#include "afx_ddx.h"

#include "afx_wnd.h"

HWND CDataExchange::GetControl(int idc) const {
    return ::GetDlgItem(m_pDlgWnd->m_hWnd, idc);
}

void DDX_Text(CDataExchange* pDX, int idc, CString& value) {
    HWND control = pDX->GetControl(idc);
    if (control == nullptr) {
        pDX->m_failed = true;
        return;
    }
    if (pDX->m_bSaveAndValidate) {
        const int length = ::GetWindowTextLengthA(control);
        const int got = ::GetWindowTextA(control, value.GetBuffer(length), length + 1);
        value.ReleaseBuffer(got);
        pDX->m_failed = pDX->m_failed || (length > 0 && got == 0);
    } else if (!::SetWindowTextA(control, value)) {
        pDX->m_failed = true;
    }
}

void DDX_Check(CDataExchange* pDX, int idc, CString& value) {
    HWND control = pDX->GetControl(idc);
    if (control == nullptr) {
        pDX->m_failed = true;
        return;
    }
    if (pDX->m_bSaveAndValidate)
        value = ::SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? "1" : "";
    else
        ::SendMessageA(control, BM_SETCHECK, value == "1" ? BST_CHECKED : BST_UNCHECKED, 0);
}

void DDX_Control(CDataExchange* pDX, int idc, CWnd& control) {
    // Each run of a dialog has new control windows.
    control.m_hWnd = pDX->GetControl(idc);
    pDX->m_failed = pDX->m_failed || control.m_hWnd == nullptr;
}
