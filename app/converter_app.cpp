#include "converter_app.h"

#include "converter_dlg.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CConverterApp, CWinApp)
    ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

CConverterApp::CConverterApp() {}

// The one application object.
CConverterApp theApp;

BOOL CConverterApp::InitInstance() {
    Enable3dControls();

    CConverterDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();  // IDOK or IDCANCEL: all work, saving too, is done inside

    // FALSE: no message loop; the program ends.
    return FALSE;
}
