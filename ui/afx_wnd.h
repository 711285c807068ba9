#pragma once

#include <windows.h>

#include "afx_cmdtarget.h"

class CDataExchange;
class CMenu;

// A window handle with the few operations the dialogs use, in the manner of
// MFC's CWnd. It does not own the window.
class CWnd : public CCmdTarget {
public:
    HWND m_hWnd = nullptr;

    HWND GetSafeHwnd() const { return m_hWnd; }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL IsIconic() const;
    void GetClientRect(LPRECT rect) const;
    CMenu* GetSystemMenu(BOOL revert) const;
    HICON SetIcon(HICON icon, BOOL bigIcon);
    void DragAcceptFiles(BOOL accept = TRUE);
    void SetRedraw(BOOL redraw = TRUE);
    void Invalidate(BOOL erase = TRUE);

    // TRUE copies the controls into the bound members, FALSE the reverse.
    // FALSE when a bound control is not there or its text cannot be read.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX);

    // Runs a window message through the message maps. False when no table
    // lists it, or its handler asked for the default handling (Default).
    BOOL HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

protected:
    // Gives the message being handled its standard handling once the
    // handler returns.
    LRESULT Default();

    afx_msg void OnPaint() { Default(); }
    afx_msg void OnSysCommand(UINT, LPARAM) { Default(); }

private:
    bool m_defaultRequested = false;
};
