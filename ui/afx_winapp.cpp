#include "afx_winapp.h"

#include <commctrl.h>

#include <cstring>

namespace {

CWinApp* theApp = nullptr;

}  // namespace

CWinApp::CWinApp(const char* appName) : m_pszAppName(appName) {
    theApp = this;
}

CWinApp::~CWinApp() {
    if (theApp == this)
        theApp = nullptr;
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::Run() {
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return ExitInstance();
}

int CWinApp::ExitInstance() {
    return 0;
}

HICON CWinApp::LoadIcon(UINT id) const {
    return ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id));
}

BOOL CWinApp::Enable3dControls() {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    return ::InitCommonControlsEx(&controls);
}

CWinApp* AfxGetApp() {
    return theApp;
}

CWnd* AfxGetMainWnd() {
    return theApp != nullptr ? theApp->m_pMainWnd : nullptr;
}

int AfxWinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return -1;
    app->m_hInstance = instance;
    AfxSetResourceHandle(instance);
    if (app->m_pszAppName.IsEmpty()) {
        char path[MAX_PATH] = {};
        ::GetModuleFileNameA(instance, path, MAX_PATH);
        const char* name = std::strrchr(path, '\\');
        CString appName(name != nullptr ? name + 1 : path);
        char* text = appName.GetBuffer(appName.GetLength());
        if (char* dot = std::strrchr(text, '.'))
            *dot = '\0';
        appName.ReleaseBuffer();
        app->m_pszAppName = appName;
    }
    if (!app->InitInstance())
        return app->ExitInstance();
    return app->Run();
}
