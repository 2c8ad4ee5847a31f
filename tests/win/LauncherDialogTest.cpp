// The launcher inside the real main window, from the program's own template,
// driven by real mouse and keyboard input; every opened address is recorded by
// the stand-in browser.

#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "ChannelTable.h"
#include "Dialog2Dlg.h"
#include "Dpi.h"
#include "FakeAccPropServices.h"
#include "OpenWebAddress.h"
#include "ProbeDialog.h"
#include "TestApp.h"
#include "WinTestSupport.h"

namespace {

// One of the program's dialogs, telling the test its window once initialised.
template <class Dialog>
class CWindowProbe : public Dialog {
public:
    std::atomic<HWND> window{nullptr};
    BOOL OnInitDialog() override {
        const BOOL result = Dialog::OnInitDialog();
        window = this->m_hWnd;
        return result;
    }
};
using CMainProbe = CWindowProbe<CDialog2Dlg>;

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

// ---- Per-monitor DPI, the list's name for screen readers, the open ---------

int IconWidth(HICON icon) {
    ICONINFO info{};
    if (!icon || !::GetIconInfo(icon, &info)) return 0;
    BITMAP bitmap{};
    ::GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

// A window on a monitor at 150% in a system at 100%, which Wine cannot make.
UINT WINAPI At144Dpi(HWND) { return 144; }

TEST(MainWindowDpi, RunsPerMonitorAwareWithIconsForItsDpiAtCreationAndForANewOneBeforeTheDefaultHandling) {
    // The thread that runs the window, read outside any window procedure: while
    // one runs, Wine gives the thread the window's context, of which it keeps
    // only the awareness.
    const DPI_AWARENESS_CONTEXT context = ::GetThreadDpiAwarenessContext();
    EXPECT_TRUE(::AreDpiAwarenessContextsEqual(context, DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2))
        << "the thread's context is " << context;
    for (const WindowDpiFn windowDpi : {WindowDpiFn{nullptr}, &At144Dpi}) {
        UseWindowDpi(windowDpi);
        CMainProbe dlg;
        UiInvoker ui;
        TestApp().m_pMainWnd = &dlg;
        DPI_AWARENESS awareness = DPI_AWARENESS_INVALID;
        int before[2] = {}, after[2] = {};
        INT_PTR handled = TRUE;
        RunWithScript(dlg, [&](HWND h) {
            ui.Run([&] {
                awareness = ::GetAwarenessFromDpiAwarenessContext(::GetWindowDpiAwarenessContext(h));
                for (int which : {ICON_SMALL, ICON_BIG})
                    before[which] = IconWidth(reinterpret_cast<HICON>(::SendMessageA(h, WM_GETICON, which, 0)));
                RECT suggested{};
                ::GetWindowRect(h, &suggested);
                // Through the dialog procedure itself: FALSE leaves the message to the dialog manager.
                const auto procedure = reinterpret_cast<DLGPROC>(::GetWindowLongPtrA(h, DWLP_DLGPROC));
                handled = procedure(h, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
                for (int which : {ICON_SMALL, ICON_BIG})
                    after[which] = IconWidth(reinterpret_cast<HICON>(::SendMessageA(h, WM_GETICON, which, 0)));
            });
        });
        TestApp().m_pMainWnd = nullptr;
        UseWindowDpi(nullptr);
        EXPECT_EQ(awareness, DPI_AWARENESS_PER_MONITOR_AWARE);
        EXPECT_EQ(before[ICON_BIG], windowDpi ? 48 : 32);
        EXPECT_EQ(before[ICON_SMALL], windowDpi ? 24 : 32);  // at the system DPI, one handle serves both
        EXPECT_EQ(after[ICON_BIG], 64);
        EXPECT_EQ(after[ICON_SMALL], 32);
        EXPECT_FALSE(handled) << "WM_DPICHANGED must go on to the dialog manager";
    }
}

TEST(AboutBoxDpi, ItsIconHasTheSizeForItsDpiAtCreationAndAfterTheRelayoutOfAChange) {
    for (const WindowDpiFn windowDpi : {WindowDpiFn{nullptr}, &At144Dpi}) {
        UseWindowDpi(windowDpi);
        CWindowProbe<CAboutDlg> about;
        UiInvoker ui;
        int atCreation = 0, duringChange = 0;
        bool changed = false;
        RunWithScript(about, [&](HWND h) {
            HWND icon = nullptr;
            const auto width = [&] {
                return IconWidth(reinterpret_cast<HICON>(::SendMessageA(icon, STM_GETICON, 0, 0)));
            };
            ui.Run([&] {
                for (HWND c = ::GetWindow(h, GW_CHILD); c && !icon; c = ::GetWindow(c, GW_HWNDNEXT))
                    if (::SendMessageA(c, STM_GETICON, 0, 0)) icon = c;
                atCreation = width();
                RECT suggested{};
                ::GetWindowRect(h, &suggested);
                ::SendMessageA(h, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
                duringChange = width();  // the dialog manager's re-layout has yet to come
            });
            changed = WaitUntil([&] {
                int now = 0;
                ui.Run([&] { now = width(); });
                return now == 64;
            });
        });
        UseWindowDpi(nullptr);
        EXPECT_EQ(atCreation, windowDpi ? 48 : 32);
        EXPECT_EQ(duringChange, atCreation) << "set before the dialog manager's re-layout";
        EXPECT_TRUE(changed) << "no 64-pixel icon after a change to 192 DPI";
    }
}

TEST_F(MainWindowLauncher, NamesTheListForScreenReadersAndTakesTheNameBackBeforeTheListGoes) {
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ASSERT_TRUE(SUCCEEDED(com));
    HWND list = nullptr;
    std::vector<FakeAccPropServices::Named> named;
    std::vector<FakeAccPropServices::Cleared> cleared;
    {
        FakeAccPropServices annotation;
        RunWithScript(dlg, [&](HWND h) { list = ::GetDlgItem(h, IDC_CHANNEL_LIST); });
        named = annotation.named;
        cleared = annotation.cleared;
    }
    ::CoUninitialize();
    ASSERT_EQ(named.size(), 1u);
    EXPECT_EQ(named[0].hwnd, list);
    EXPECT_EQ(named[0].idObject, static_cast<DWORD>(OBJID_CLIENT));
    EXPECT_EQ(named[0].idChild, static_cast<DWORD>(CHILDID_SELF));
    EXPECT_TRUE(::IsEqualGUID(named[0].prop, FakeAccPropServices::kPropName));
    EXPECT_EQ(named[0].name, L"Channel list");
    EXPECT_FALSE(named[0].windowShown) << "named after the window showed: a screen reader read it unnamed";
    ASSERT_EQ(cleared.size(), 1u);
    EXPECT_EQ(cleared[0].hwnd, list);
    EXPECT_EQ(cleared[0].idObject, static_cast<DWORD>(OBJID_CLIENT));
    EXPECT_EQ(cleared[0].idChild, static_cast<DWORD>(CHILDID_SELF));
    ASSERT_EQ(cleared[0].props.size(), 1u);
    EXPECT_TRUE(::IsEqualGUID(cleared[0].props[0], FakeAccPropServices::kPropName));
    EXPECT_TRUE(cleared[0].windowExisted) << "cleared after the list was destroyed";
}

SHELLEXECUTEINFOA g_request{};
std::string g_file, g_verb;
int g_requests = 0;

BOOL WINAPI RecordShellExecuteEx(SHELLEXECUTEINFOA* info) {
    g_request = *info;
    g_file = info->lpFile ? info->lpFile : "";
    g_verb = info->lpVerb ? info->lpVerb : "";
    ++g_requests;
    return TRUE;
}

TEST(OpenWebAddress, AsksTheShellToFinishTheOpenBeforeItReturns) {
    // A program that ends right after an open must not leave it to the shell's
    // asynchronous completion.
    UseShellExecuteEx(&RecordShellExecuteEx);
    OpenWebAddress("https://example.invalid/p/x.html");
    UseShellExecuteEx(nullptr);
    ASSERT_EQ(g_requests, 1);
    EXPECT_EQ(g_request.cbSize, sizeof(SHELLEXECUTEINFOA));
    EXPECT_EQ(g_request.fMask & SEE_MASK_NOASYNC, static_cast<ULONG>(SEE_MASK_NOASYNC));
    EXPECT_EQ(g_verb, "open");
    EXPECT_EQ(g_file, "https://example.invalid/p/x.html");
    EXPECT_EQ(g_request.nShow, SW_SHOW);
    EXPECT_EQ(g_request.hwnd, nullptr);
}

}  // namespace
