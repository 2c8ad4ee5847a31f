#include "Dialog2.h"

#include "Dialog2Dlg.h"

BEGIN_MESSAGE_MAP(CDialog2App, CWinApp)
    ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

CDialog2App::CDialog2App() = default;

// The one application object; the framework's entry point finds it.
CDialog2App theApp;

BOOL CDialog2App::InitInstance() {
    AfxEnableControlContainer();
    Enable3dControlsStatic();

    CDialog2Dlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    // The window normally clears this when it goes; if it was never created,
    // nothing else would, and the object is about to go.
    m_pMainWnd = nullptr;
    return FALSE;  // end the process rather than run a message loop
}
