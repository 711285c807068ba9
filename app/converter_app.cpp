#include "converter_app.h"

#include "converter_dlg.h"

CConverterApp::CConverterApp() {}

// The one application object.
CConverterApp theApp;

BOOL CConverterApp::InitInstance() {
    Enable3dControls();

    CConverterDlg dlg;
    m_pMainWnd = &dlg;
    // IDOK or IDCANCEL: all work, saving too, is done inside. -1: there was
    // no window at all, which must not end the program without a word.
    if (dlg.DoModal() == -1)
        ::MessageBoxA(nullptr,
                      "BRAMKOT cannot open its window (its dialog template or a control "
                      "class is missing).",
                      "BRAMKOT", MB_OK | MB_ICONERROR);

    // FALSE: no message loop; the program ends.
    return FALSE;
}
