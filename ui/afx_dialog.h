#pragma once

#include <windows.h>

#include "afx_wnd.h"

// A modal dialog built from a dialog template of the program, in the manner
// of MFC's CDialog. DoModal runs it through DialogBoxParamA; the dialog's
// user slot (DWLP_USER) holds the object, so its messages reach the object's
// message map.
class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* pParentWnd = nullptr);

    // Runs the dialog until it ends; returns the end code (IDOK, IDCANCEL)
    // or -1 if it could not be created.
    virtual INT_PTR DoModal();
    void EndDialog(int result);

protected:
    // Runs the first data exchange (controls from members). TRUE: the
    // dialog manager puts the focus on the first control of the tab order.
    virtual BOOL OnInitDialog();
    // The default button and Enter: controls to members, then IDOK.
    virtual void OnOK();
    // Escape and the close box: IDCANCEL, nothing exchanged.
    virtual void OnCancel();

    UINT m_nIDHelp;
    CWnd* m_pParentWnd;

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};
