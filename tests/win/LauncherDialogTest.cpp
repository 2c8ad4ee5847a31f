// The launcher inside the real main window, from the program's own template,
// driven by real mouse and keyboard input; every opened address is recorded by
// the stand-in browser.

#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "ChannelTable.h"
#include "Dialog2Dlg.h"
#include "ProbeDialog.h"
#include "TestApp.h"
#include "WinTestSupport.h"

namespace {

class CMainProbe : public CDialog2Dlg {
public:
    std::atomic<HWND> window{nullptr};
    BOOL OnInitDialog() override {
        const BOOL result = CDialog2Dlg::OnInitDialog();
        window = m_hWnd;
        return result;
    }
    using CDialog2Dlg::LastOpened;
};

std::string At(int row) { return ChannelTable[static_cast<std::size_t>(row)].destination; }

class MainWindowLauncher : public ::testing::Test {
protected:
    CMainProbe dlg;
    UiInvoker ui;
    OpenLog log;

    void SetUp() override {
        log.Clear();
        TestApp().m_pMainWnd = &dlg;
    }
    void TearDown() override { TestApp().m_pMainWnd = nullptr; }
    int LastOpened() {
        int last = 0;
        ui.Run([&] { last = dlg.LastOpened(); });
        return last;
    }
    // Waits for the n-th recorded address and returns the log.
    std::vector<std::string> Opened(std::size_t n) {
        EXPECT_TRUE(log.WaitForCount(n)) << "waiting for " << n << " addresses";
        return log.Lines();
    }
};

TEST_F(MainWindowLauncher, ListIsFilledInTableOrderWithNothingSelected) {
    int count = 0, selection = 0;
    std::vector<std::string> names;
    HWND focus = nullptr, list = nullptr;
    HICON bigIcon = nullptr, smallIcon = nullptr;
    RunWithScript(dlg, [&](HWND h) {
        list = ::GetDlgItem(h, IDC_CHANNEL_LIST);
        count = static_cast<int>(::SendMessageA(list, LB_GETCOUNT, 0, 0));
        selection = static_cast<int>(::SendMessageA(list, LB_GETCURSEL, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[64] = {};
            ::SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            names.emplace_back(text);
        }
        ui.Run([&] {
            focus = ::GetFocus();
            bigIcon = reinterpret_cast<HICON>(::SendMessageA(h, WM_GETICON, ICON_BIG, 0));
            smallIcon = reinterpret_cast<HICON>(::SendMessageA(h, WM_GETICON, ICON_SMALL, 0));
        });
        OpenLog::Settle();
    });
    ASSERT_EQ(count, kChannelCount);
    for (int i = 0; i < kChannelCount; ++i)
        EXPECT_EQ(names[static_cast<std::size_t>(i)], ChannelTable[static_cast<std::size_t>(i)].displayName);
    EXPECT_EQ(selection, LB_ERR);
    EXPECT_EQ(focus, list);
    EXPECT_NE(bigIcon, nullptr);
    EXPECT_EQ(bigIcon, smallIcon) << "one handle serves both";
    EXPECT_TRUE(log.Lines().empty()) << "nothing opens before a selection";
}

// The main window as it would be on a platform that gives a caption without
// WS_SYSMENU a system menu: the style is added before the window initialises.
class CMainWithSystemMenu : public CMainProbe {
public:
    BOOL OnInitDialog() override {
        ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, ::GetWindowLongPtrA(m_hWnd, GWL_STYLE) | WS_SYSMENU);
        return CMainProbe::OnInitDialog();
    }
};

struct SystemMenuSummary {
    bool present = false;
    int count = 0;
    int aboutItems = 0;
    UINT separatorState = 0;
    UINT lastId = 0;
    char caption[64] = {};
};

SystemMenuSummary ReadSystemMenu(HWND h) {
    SystemMenuSummary s;
    HMENU menu = ::GetSystemMenu(h, FALSE);
    s.present = menu != nullptr;
    if (!menu) return s;
    s.count = ::GetMenuItemCount(menu);
    for (int i = 0; i < s.count; ++i) s.aboutItems += ::GetMenuItemID(menu, i) == IDM_ABOUTBOX;
    s.separatorState = ::GetMenuState(menu, static_cast<UINT>(s.count - 2), MF_BYPOSITION);
    s.lastId = ::GetMenuItemID(menu, s.count - 1);
    ::GetMenuStringA(menu, static_cast<UINT>(s.count - 1), s.caption, sizeof(s.caption), MF_BYPOSITION);
    return s;
}

TEST(MainWindowSystemMenu, EndsWithASeparatorAndTheAboutCommandWhenThereIsOne) {
    CMainWithSystemMenu dlg;
    TestApp().m_pMainWnd = &dlg;
    UiInvoker ui;
    SystemMenuSummary s;
    int items = 0;
    RunWithScript(dlg, [&](HWND h) {
        ui.Run([&] { s = ReadSystemMenu(h); });
        items = static_cast<int>(::SendMessageA(::GetDlgItem(h, IDC_CHANNEL_LIST), LB_GETCOUNT, 0, 0));
    });
    TestApp().m_pMainWnd = nullptr;
    ASSERT_TRUE(s.present);
    EXPECT_EQ(s.aboutItems, 1);
    EXPECT_TRUE(s.separatorState & MF_SEPARATOR);
    EXPECT_EQ(s.lastId, static_cast<UINT>(IDM_ABOUTBOX));
    EXPECT_STREQ(s.caption, "&About Lumbrel...");
    EXPECT_EQ(items, kChannelCount);
}

TEST_F(MainWindowLauncher, WithoutASystemMenuInitialisationGoesOn) {
    // The template has no WS_SYSMENU; where the platform then gives no menu,
    // nothing is appended and the window still gets its icons and its list.
    SystemMenuSummary s;
    HICON icon = nullptr;
    int items = 0;
    RunWithScript(dlg, [&](HWND h) {
        ui.Run([&] {
            s = ReadSystemMenu(h);
            icon = reinterpret_cast<HICON>(::SendMessageA(h, WM_GETICON, ICON_BIG, 0));
        });
        items = static_cast<int>(::SendMessageA(::GetDlgItem(h, IDC_CHANNEL_LIST), LB_GETCOUNT, 0, 0));
    });
    EXPECT_EQ(s.aboutItems, s.present ? 1 : 0);
    EXPECT_NE(icon, nullptr);
    EXPECT_EQ(items, kChannelCount);
}

TEST_F(MainWindowLauncher, ClicksAndArrowKeysOpenEachNewSelectionOnce) {
    std::vector<std::string> afterFirstClick, afterSecondClick;
    int lastAfterClick = 0;
    RunWithScript(dlg, [&](HWND h) {
        HWND list = ::GetDlgItem(h, IDC_CHANNEL_LIST);
        ClickListItem(list, 63);  // CNN
        afterFirstClick = Opened(1);
        lastAfterClick = LastOpened();
        ClickListItem(list, 63);  // the same channel again
        OpenLog::Settle();
        afterSecondClick = log.Lines();
        PressKey(VK_DOWN);  // CNN Brasil
        Opened(2);
        PressKey(VK_DOWN);  // CNN India
        Opened(3);
        ClickListItem(list, 63);  // back to CNN: opens again
        Opened(4);
    });
    EXPECT_EQ(afterFirstClick, std::vector<std::string>{At(63)});
    EXPECT_EQ(At(63), std::string(kChannelPortalHome) + "/p/cnn.html");
    EXPECT_EQ(lastAfterClick, 63);
    EXPECT_EQ(afterSecondClick, std::vector<std::string>{At(63)});
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{At(63), At(64), At(65), At(63)}));
}

TEST_F(MainWindowLauncher, FirstAndLastRowsOpen) {
    RunWithScript(dlg, [&](HWND h) {
        HWND list = ::GetDlgItem(h, IDC_CHANNEL_LIST);
        ClickListItem(list, 0);
        Opened(1);
        PressKey(VK_END);  // Zoo Moo, the last row
        Opened(2);
        OpenLog::Settle();
    });
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{At(0), At(358)}));
}

TEST_F(MainWindowLauncher, HookReturnsWhatTheDialogPreTranslationReturns) {
    // Each call below opens a new channel; the hook's result must still be the
    // framework's own for that message: TRUE for a key the dialog takes, FALSE
    // for a message it does not.
    BOOL forKey = FALSE, forNull = TRUE, baseForKey = FALSE, baseForNull = TRUE;
    RunWithScript(dlg, [&](HWND h) {
        HWND list = ::GetDlgItem(h, IDC_CHANNEL_LIST);
        ui.Run([&] {
            ::SendMessageA(list, LB_SETCURSEL, 10, 0);
            MSG key{list, WM_KEYDOWN, VK_TAB, 0, 0, {}};
            forKey = dlg.PreTranslateMessage(&key);
            ::SendMessageA(list, LB_SETCURSEL, 11, 0);
            MSG null{h, WM_NULL, 0, 0, 0, {}};
            forNull = dlg.PreTranslateMessage(&null);
            ::SetFocus(list);
            baseForKey = dlg.CDialog::PreTranslateMessage(&key);
            baseForNull = dlg.CDialog::PreTranslateMessage(&null);
        });
        Opened(2);
    });
    EXPECT_EQ(forKey, baseForKey);
    EXPECT_TRUE(forKey);
    EXPECT_EQ(forNull, baseForNull);
    EXPECT_FALSE(forNull);
    auto lines = log.Lines();
    std::sort(lines.begin(), lines.end());
    std::vector<std::string> expected{At(10), At(11)};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(lines, expected);
}

TEST_F(MainWindowLauncher, AnInitialisationMessageFromOutsideIsIgnored) {
    // Only the platform's own WM_INITDIALOG during creation initialises the
    // window; a posted one, whatever it carries, changes nothing.
    int items = 0;
    RunWithScript(dlg, [&](HWND h) {
        ::PostMessageA(h, WM_INITDIALOG, 0, 0x12345678);
        ::PostMessageA(h, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(&dlg));
        ::SendMessageA(h, WM_INITDIALOG, 0, 0);
        ui.Run([] {});
        ::PostMessageA(h, WM_NULL, 0, 0);
        WaitUntil([&] { return ::SendMessageA(h, WM_NULL, 0, 0) == 0; });
        items = static_cast<int>(::SendMessageA(::GetDlgItem(h, IDC_CHANNEL_LIST), LB_GETCOUNT, 0, 0));
    });
    EXPECT_EQ(items, kChannelCount);
}

}  // namespace
