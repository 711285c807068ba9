#pragma once

#include <windows.h>

#include "afx_module.h"
#include "afx_string.h"

class CWnd;

// The application, in the manner of MFC's CWinApp: exactly one object of a
// class derived from it exists, a global; the program entry (AfxWinMain)
// calls its InitInstance.
class CWinApp {
public:
    // Without a name the application takes its program file's name.
    explicit CWinApp(const char* appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // FALSE ends the program at once, without a message loop.
    virtual BOOL InitInstance();
    virtual int Run();
    virtual int ExitInstance();

    HICON LoadIcon(UINT id) const;
    // The common controls' look (the 3D look of MFC's day).
    BOOL Enable3dControls();

    HINSTANCE m_hInstance = nullptr;
    CString m_pszAppName;
    CWnd* m_pMainWnd = nullptr;
};

// The one application object, or null while there is none.
CWinApp* AfxGetApp();
// The application's main window, or null.
CWnd* AfxGetMainWnd();

int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);
