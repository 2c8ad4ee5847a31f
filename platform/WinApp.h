#pragma once
// The application object: one per process, registered when it is constructed.

#include "Wnd.h"

class CWinThread : public CCmdTarget {
public:
    CWnd* m_pMainWnd = nullptr;

    virtual BOOL InitInstance();
    // The thread's message loop; returns ExitInstance's result.
    virtual int Run();
    virtual int ExitInstance();
};

class CWinApp : public CWinThread {
public:
    explicit CWinApp(LPCSTR lpszAppName = nullptr);
    ~CWinApp() override;

    HINSTANCE m_hInstance = nullptr;
    LPCSTR m_pszAppName = "";       // the executable's file name without extension, unless given
    LPCSTR m_pszHelpFilePath = "";  // the executable's full path with ".HLP" for its extension

    virtual BOOL InitApplication();
    HICON LoadIcon(UINT nIDResource) const;

    // Sets the module and the names derived from the executable's path.
    void InitModule(HINSTANCE hInstance);
    // Shows help context dwData from the help file, on behalf of the main window.
    void WinHelpInternal(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);

    // F1: asks the active dialog for its help context.
    void OnHelp();

    DECLARE_MESSAGE_MAP()
};

// The application object, or nullptr before it is constructed.
CWinApp* AfxGetApp();

// Framework start-up and the run of the application; the entry point calls it.
int AfxWinMain(HINSTANCE hInstance);

// No-ops kept for the program's start-up sequence: no dialog holds an ActiveX
// control, and the platform draws dialogs three-dimensionally by itself.
inline void AfxEnableControlContainer() {}
inline void Enable3dControlsStatic() {}

// A message box captioned with the application's name; the text is a string resource.
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK);
