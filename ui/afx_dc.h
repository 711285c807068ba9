#pragma once

#include <windows.h>

class CWnd;

// A device context handle, in the manner of MFC's CDC.
class CDC {
public:
    HDC m_hDC = nullptr;

    HDC GetSafeHdc() const { return m_hDC; }
    BOOL DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }
};

// The paint context of one WM_PAINT: BeginPaint on construction, EndPaint
// on destruction.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    PAINTSTRUCT m_ps;

private:
    HWND m_hWnd;
};
