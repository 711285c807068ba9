#include "afx_wnd.h"

#include <shellapi.h>

#include "afx_ddx.h"
#include "afx_menu.h"
#include "afx_winapp.h"

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::IsIconic() const {
    return ::IsIconic(m_hWnd);
}

void CWnd::GetClientRect(LPRECT rect) const {
    ::GetClientRect(m_hWnd, rect);
}

CMenu* CWnd::GetSystemMenu(BOOL revert) const {
    return CMenu::FromHandle(::GetSystemMenu(m_hWnd, revert));
}

HICON CWnd::SetIcon(HICON icon, BOOL bigIcon) {
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, bigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
}

// What the shell's DragAcceptFiles does, without loading the shell with the
// window.
void CWnd::DragAcceptFiles(BOOL accept) {
    const LONG_PTR style = ::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE);
    ::SetWindowLongPtrA(m_hWnd, GWL_EXSTYLE,
                        accept ? style | WS_EX_ACCEPTFILES : style & ~WS_EX_ACCEPTFILES);
}

void CWnd::SetRedraw(BOOL redraw) {
    SendMessage(WM_SETREDRAW, redraw);
}

void CWnd::Invalidate(BOOL erase) {
    ::InvalidateRect(m_hWnd, nullptr, erase);
}

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return dx.m_failed ? FALSE : TRUE;
}

void CWnd::DoDataExchange(CDataExchange*) {}

LRESULT CWnd::Default() {
    m_defaultRequested = true;
    return 0;
}

BOOL CWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    // A handler may open a modal dialog, whose loop sends this window more
    // messages: keep the outer message's request apart from theirs.
    const bool outerRequest = m_defaultRequested;
    m_defaultRequested = false;
    const BOOL handled = DispatchMessageMap(message, wParam, lParam, pResult);
    const bool wantsDefault = m_defaultRequested;
    m_defaultRequested = outerRequest;
    return handled && !wantsDefault;
}
