#pragma once
// The application: runs the main window as a modal dialog, then ends.

#include "WinApp.h"

class CDialog2App : public CWinApp {
public:
    CDialog2App();
    ~CDialog2App() override = default;

    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};
