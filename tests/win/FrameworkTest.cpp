// The dialog framework under Wine with real windows: message maps, command
// routing, the modal loop and its pre-translation chain, owners, placement.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "Centering.h"
#include "ProbeDialog.h"
#include "TestApp.h"
#include "WinTestSupport.h"

namespace {

bool Contains(const std::vector<UINT>& v, UINT m) { return std::find(v.begin(), v.end(), m) != v.end(); }

// ---- Message maps -------------------------------------------------------------

class CBaseTarget : public CCmdTarget {
public:
    std::vector<std::string> calls;

protected:
    void OnBase() { calls.push_back("base 100"); }
    void OnRange() { calls.push_back("base range"); }
    void OnClicked() { calls.push_back("base clicked"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseTarget, CCmdTarget)
    ON_COMMAND(100, &CBaseTarget::OnBase)
    ON_COMMAND_RANGE(100, 110, &CBaseTarget::OnRange)
    ON_BN_CLICKED(200, &CBaseTarget::OnClicked)
END_MESSAGE_MAP()

class CDerivedTarget : public CBaseTarget {
protected:
    void OnFirst() { calls.push_back("derived first"); }
    void OnSecond() { calls.push_back("derived second"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedTarget, CBaseTarget)
    ON_COMMAND(100, &CDerivedTarget::OnFirst)
    ON_COMMAND(100, &CDerivedTarget::OnSecond)
    ON_COMMAND(105, &CDerivedTarget::OnSecond)
END_MESSAGE_MAP()

TEST(MessageMap, DerivedMapFirstThenFirstMatchingEntryThenBase) {
    CDerivedTarget target;
    EXPECT_TRUE(target.OnCmdMsg(100, 0));
    EXPECT_TRUE(target.OnCmdMsg(105, 0));
    EXPECT_TRUE(target.OnCmdMsg(107, 0));  // only the base's range has it
    EXPECT_FALSE(target.OnCmdMsg(111, 0));
    EXPECT_FALSE(target.OnCmdMsg(200, 1));  // a notification code other than BN_CLICKED
    EXPECT_TRUE(target.OnCmdMsg(200, BN_CLICKED));
    EXPECT_EQ(target.calls,
              (std::vector<std::string>{"derived first", "derived second", "base range", "base clicked"}));

    CBaseTarget base;
    EXPECT_TRUE(base.OnCmdMsg(100, 0));
    EXPECT_EQ(base.calls, std::vector<std::string>{"base 100"});
}

// ---- Modal loop ---------------------------------------------------------------

TEST(ModalLoop, MissingTemplateGivesMinusOne) {
    CProbeDlg dlg(IDD_TEST_MISSING);
    TestApp().m_pMainWnd = &dlg;
    EXPECT_EQ(dlg.DoModal(), -1);
    TestApp().m_pMainWnd = nullptr;
}

TEST(ModalLoop, PostedMessagesReachTheHookSentAndIdleOnesDoNot) {
    CProbeDlg dlg;
    TestApp().m_pMainWnd = &dlg;
    UiInvoker ui;
    const DWORD uiThread = ::GetCurrentThreadId();
    std::vector<UINT> hooked, dispatched;
    const INT_PTR result = RunWithScript(dlg, [&](HWND h) {
        ::PostMessageA(h, kProbe, 0, 0);                   // posted to the dialog
        ::PostThreadMessageA(uiThread, WM_APP + 6, 0, 0);  // for no window
        ::PostMessageA(h, WM_KICKIDLE, 0, 0);              // dropped by the loop
        ::SendMessageA(h, WM_APP + 7, 0, 0);               // sent: never through the loop
        ::PostMessageA(h, WM_NULL, 0, 0);
        WaitUntil([&] {
            bool done = false;
            ui.Run([&] { done = Contains(dlg.hooked, WM_NULL); });
            return done;
        });
        ui.Run([&] {
            hooked = dlg.hooked;
            dispatched = dlg.dispatched;
        });
        ::PostMessageA(h, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(Contains(hooked, kProbe));
    EXPECT_TRUE(Contains(hooked, WM_APP + 6));
    EXPECT_FALSE(Contains(hooked, WM_KICKIDLE));
    EXPECT_FALSE(Contains(hooked, WM_APP + 7));
    EXPECT_EQ(dispatched, std::vector<UINT>{kProbe});  // the idle message was not dispatched either
    EXPECT_EQ(TestApp().m_pMainWnd, nullptr) << "the main window's end clears the application's reference";
}

TEST(ModalLoop, QuitEndsTheLoopWithMinusOneAndIsPostedAgain) {
    CProbeDlg dlg;
    TestApp().m_pMainWnd = &dlg;
    const DWORD uiThread = ::GetCurrentThreadId();
    const INT_PTR result = RunWithScript(dlg, [&](HWND) { ::PostThreadMessageA(uiThread, WM_QUIT, 7, 0); });
    EXPECT_EQ(result, -1);
    MSG msg{};
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_FALSE(::IsWindow(dlg.window));
    TestApp().m_pMainWnd = nullptr;
}

TEST(ModalLoop, ButtonsAndKeysReachHandlersThroughTheDialogKeyboardInterface) {
    CProbeDlg dlg;
    TestApp().m_pMainWnd = &dlg;
    UiInvoker ui;
    std::vector<std::string> events;
    const INT_PTR result = RunWithScript(dlg, [&](HWND h) {
        HWND button = ::GetDlgItem(h, IDC_TEST_BUTTON);
        RECT r{};
        ::GetWindowRect(button, &r);
        ClickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
        WaitUntil([&] {
            ui.Run([&] { events = dlg.events; });
            return !events.empty();
        });
        PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(events, std::vector<std::string>{"button"});
    EXPECT_EQ(result, IDCANCEL);
    TestApp().m_pMainWnd = nullptr;
}

// A secondary dialog opened from the main one, as the About and Help boxes are.
class SecondaryDialog : public ::testing::Test {
protected:
    CProbeDlg main;
    CRecordingDlg secondary;
    UiInvoker ui;

    void SetUp() override {
        TestApp().m_pMainWnd = &main;
        TestApp().commands.clear();
        main.secondary = &secondary;
    }
    void TearDown() override { TestApp().m_pMainWnd = nullptr; }
    HWND OpenSecondary(HWND mainWnd) {
        ::PostMessageA(mainWnd, WM_COMMAND, kOpenSecondary, 0);
        if (!WaitForWindow(secondary.window)) {
            HWND s = secondary.window;
            ADD_FAILURE() << "secondary " << s << " visible " << (s && ::IsWindowVisible(s)) << " foreground "
                          << ::GetForegroundWindow() << " main " << mainWnd;
        }
        return secondary.window;
    }
};

TEST_F(SecondaryDialog, OwnerIsDisabledWhileOpenAndEnabledBeforeItsEnd) {
    bool enabledWhileOpen = true, enabledAfter = false;
    HWND ownerOfSecondary = nullptr;
    RunWithScript(main, [&](HWND h) {
        HWND s = OpenSecondary(h);
        ownerOfSecondary = ::GetWindow(s, GW_OWNER);
        enabledWhileOpen = ::IsWindowEnabled(h);
        PressKey(VK_ESCAPE);
        WaitUntil([&] { return !::IsWindow(s); });
        enabledAfter = ::IsWindowEnabled(h);
        ::PostMessageA(h, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(ownerOfSecondary, main.window.load());
    EXPECT_FALSE(enabledWhileOpen);
    EXPECT_TRUE(enabledAfter);
    EXPECT_TRUE(secondary.ownerEnabledAtDestroy);
}

TEST_F(SecondaryDialog, MainHookSeesTheSecondarysMessagesButNotItsKeys) {
    std::vector<UINT> mainHooked, secondaryHooked;
    RunWithScript(main, [&](HWND h) {
        HWND s = OpenSecondary(h);
        ui.Run([&] { main.hooked.clear(); });
        ::PostMessageA(s, kProbe, 0, 0);
        ::PostMessageA(::GetDlgItem(s, IDC_TEST_BUTTON), WM_KEYDOWN, VK_TAB, 0);
        ::PostMessageA(s, WM_NULL, 0, 0);
        WaitUntil([&] {
            bool done = false;
            ui.Run([&] { done = Contains(main.hooked, WM_NULL); });
            return done;
        });
        ui.Run([&] {
            mainHooked = main.hooked;
            secondaryHooked = secondary.hooked;
        });
        PressKey(VK_ESCAPE);
        WaitUntil([&] { return !::IsWindow(s); });
        ::PostMessageA(h, WM_COMMAND, IDOK, 0);
    });
    EXPECT_TRUE(Contains(mainHooked, kProbe));
    EXPECT_FALSE(Contains(mainHooked, WM_KEYDOWN)) << "the secondary dialog claims its own keys";
    EXPECT_TRUE(Contains(secondaryHooked, WM_KEYDOWN));
    EXPECT_TRUE(Contains(secondaryHooked, kProbe));
}

TEST_F(SecondaryDialog, UnhandledCommandsGoToTheOwnerThenTheApplication) {
    std::vector<std::string> mainEvents;
    RunWithScript(main, [&](HWND h) {
        HWND s = OpenSecondary(h);
        ::SendMessageA(s, WM_COMMAND, kOwnerCommand, 0);
        ::SendMessageA(s, WM_COMMAND, kAppCommand, 0);
        ::SendMessageA(s, WM_COMMAND, 40999, 0);  // nobody's
        ui.Run([&] { mainEvents = main.events; });
        PressKey(VK_ESCAPE);
        WaitUntil([&] { return !::IsWindow(s); });
        ::PostMessageA(h, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(mainEvents, std::vector<std::string>{"owner command"});
    EXPECT_EQ(TestApp().commands, std::vector<UINT>{kAppCommand});
}

// ---- Placement ------------------------------------------------------------------

RECT WorkAreaOf(HWND h) {
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    ::GetMonitorInfoA(::MonitorFromWindow(h, MONITOR_DEFAULTTOPRIMARY), &mi);
    return mi.rcWork;
}

TEST(Placement, CentringArithmeticTruncatesAndClamps) {
    EXPECT_EQ(CenteredStart(0, 1024, 100, 0, 1024), 462);
    EXPECT_EQ(CenteredStart(0, 1023, 101, 0, 1023), 511 - 50);
    EXPECT_EQ(CenteredStart(-3, 0, 2, -10, 10), -2);         // (-3 + 0) / 2 truncates to -1
    EXPECT_EQ(CenteredStart(0, 100, 300, 0, 100), 0);        // larger than the area: its start
    EXPECT_EQ(CenteredStart(900, 1100, 100, 0, 1024), 924);  // past the end: moved back
    EXPECT_EQ(CenteredStart(-200, 0, 100, 0, 1024), 0);      // before the start: raised
}

TEST_F(SecondaryDialog, MainCentredInWorkAreaSecondaryOverItsOwner) {
    RECT mainRect{}, secondaryRect{}, work{};
    RECT hiddenOwnerRect{};
    RunWithScript(main, [&](HWND h) {
        ::GetWindowRect(h, &mainRect);
        work = WorkAreaOf(h);
        HWND s = OpenSecondary(h);
        ::GetWindowRect(s, &secondaryRect);
        PressKey(VK_ESCAPE);
        WaitUntil([&] { return !::IsWindow(s); });
        // With the owner hidden, the secondary dialog goes to the work area's centre.
        ::ShowWindow(h, SW_HIDE);
        secondary.window = nullptr;
        ::PostMessageA(h, WM_COMMAND, kOpenSecondary, 0);
        WaitForWindow(secondary.window);
        ::GetWindowRect(secondary.window, &hiddenOwnerRect);
        ::PostMessageA(secondary.window, WM_COMMAND, IDCANCEL, 0);
        WaitUntil([&] { return !::IsWindow(secondary.window); });
        ::PostMessageA(h, WM_COMMAND, IDOK, 0);
    });
    const int mw = mainRect.right - mainRect.left, mh = mainRect.bottom - mainRect.top;
    EXPECT_EQ(mainRect.left, (work.left + work.right) / 2 - mw / 2);
    EXPECT_EQ(mainRect.top, (work.top + work.bottom) / 2 - mh / 2);
    const int sw = secondaryRect.right - secondaryRect.left, sh = secondaryRect.bottom - secondaryRect.top;
    EXPECT_EQ(secondaryRect.left, (mainRect.left + mainRect.right) / 2 - sw / 2);
    EXPECT_EQ(secondaryRect.top, (mainRect.top + mainRect.bottom) / 2 - sh / 2);
    EXPECT_EQ(hiddenOwnerRect.left, (work.left + work.right) / 2 - sw / 2);
    EXPECT_EQ(hiddenOwnerRect.top, (work.top + work.bottom) / 2 - sh / 2);
}

TEST(Placement, TemplateWithItsOwnPositionIsNotMoved) {
    CProbeDlg dlg(IDD_TEST_PLACED);
    TestApp().m_pMainWnd = &dlg;
    RECT rect{}, work{};
    RunWithScript(dlg, [&](HWND h) {
        ::GetWindowRect(h, &rect);
        work = WorkAreaOf(h);
    });
    const int w = rect.right - rect.left;
    EXPECT_NE(rect.left, (work.left + work.right) / 2 - w / 2);
    EXPECT_LT(rect.left, 200);  // 30 dialog units from the screen's corner
    TestApp().m_pMainWnd = nullptr;
}

}  // namespace
