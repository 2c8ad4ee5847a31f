// Entry point of the Windows test programs: the framework needs an application
// object with its module set before any dialog runs.

#include <gtest/gtest.h>

#include "TestApp.h"

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
    ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
    ON_COMMAND(kAppCommand, &CTestApp::OnAppCommand)
END_MESSAGE_MAP()

namespace {
CTestApp g_testApp;
}

CTestApp& TestApp() { return g_testApp; }

int main(int argc, char** argv) {
    g_testApp.InitModule(::GetModuleHandleA(nullptr));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
