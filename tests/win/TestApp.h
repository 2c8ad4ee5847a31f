#pragma once
// The application object of the Windows test programs, with a command of its
// own so that tests can see commands routed to the application.

#include <vector>

#include "WinApp.h"

inline constexpr UINT kAppCommand = 40100;

class CTestApp : public CWinApp {
public:
    std::vector<UINT> commands;  // commands that reached the application's map

protected:
    void OnAppCommand() { commands.push_back(kAppCommand); }
    DECLARE_MESSAGE_MAP()
};

CTestApp& TestApp();
