// The real Lumbrel.exe as a user meets it: started as a process, driven by real
// mouse and keyboard input, every opened address recorded by the stand-in browser.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ChannelTable.h"
#include "ProgramUnderTest.h"
#include "WebAddresses.h"
#include "WinTestSupport.h"
#include "resource.h"

namespace {

std::string At(int row) { return ChannelTable[static_cast<std::size_t>(row)].destination; }

RECT WorkArea(HWND w) {
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    ::GetMonitorInfoA(::MonitorFromWindow(w, MONITOR_DEFAULTTOPRIMARY), &mi);
    return mi.rcWork;
}

using Program = WithOpenLog;

TEST_F(Program, StartsCentredWithEveryNameNothingSelectedAndFocusInTheList) {
    ProgramUnderTest program;
    ASSERT_TRUE(program.Main());
    HWND list = program.List();
    ASSERT_EQ(::SendMessageA(list, LB_GETCOUNT, 0, 0), kChannelCount);
    for (int i = 0; i < kChannelCount; ++i)
        ASSERT_EQ(ListItemText(list, i), ChannelTable[static_cast<std::size_t>(i)].displayName) << "item " << i;
    EXPECT_EQ(::SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_EQ(program.FocusedWindow(), list);

    RECT r{};
    ::GetWindowRect(program.Main(), &r);
    const RECT work = WorkArea(program.Main());
    EXPECT_EQ(r.left, (work.left + work.right) / 2 - (r.right - r.left) / 2);
    EXPECT_EQ(r.top, (work.top + work.bottom) / 2 - (r.bottom - r.top) / 2);
    const LONG style = ::GetWindowLongA(program.Main(), GWL_STYLE);
    EXPECT_FALSE(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_EQ(WindowText(program.Main()), " Orvenna");
    // Per monitor: Windows rescales it for each monitor's DPI instead of stretching it.
    EXPECT_EQ(::GetAwarenessFromDpiAwarenessContext(::GetWindowDpiAwarenessContext(program.Main())),
              DPI_AWARENESS_PER_MONITOR_AWARE);

    PressKey(VK_ESCAPE);
    EXPECT_EQ(program.WaitForExit(), 0u);
    ExpectOpened({});
}

TEST_F(Program, ClickingCnnOpensItOnceAndArrowsOpenTheNextChannelsInOrder) {
    ProgramUnderTest program;
    ASSERT_TRUE(program.Main());
    ClickListItem(program.List(), 63);
    ASSERT_TRUE(log.WaitForCount(1));
    EXPECT_EQ(log.Lines(), std::vector<std::string>{std::string(kChannelPortalHome) + "/p/cnn.html"});
    // Again: nothing. A late extra open would still show in the exact record at the end.
    ClickListItem(program.List(), 63);
    EXPECT_EQ(log.Lines().size(), 1u);
    PressKey(VK_DOWN);
    ASSERT_TRUE(log.WaitForCount(2));
    PressKey(VK_DOWN);
    ASSERT_TRUE(log.WaitForCount(3));
    ExpectOpened({At(63), At(64), At(65)});
}

TEST_F(Program, SteppingThroughTheWholeListOpensEveryChannelOnceInTableOrder) {
    ProgramUnderTest program;
    ASSERT_TRUE(program.Main());
    auto selection = [&] { return static_cast<int>(::SendMessageA(program.List(), LB_GETCURSEL, 0, 0)); };
    // A key the input system dropped is pressed again; a selection that moved but
    // opened nothing is a failure.
    auto press = [&](WORD key, int row) {
        for (int attempt = 0; attempt < 3 && selection() != row; ++attempt) {
            program.Focus();
            PressKey(key);
            WaitUntil([&] { return selection() == row; }, 2000);
        }
        ASSERT_EQ(selection(), row);
        ASSERT_TRUE(log.WaitForCount(static_cast<std::size_t>(row) + 1, 30000)) << "row " << row;
    };
    press(VK_HOME, 0);  // selects the first channel
    for (int row = 1; row < kChannelCount; ++row) {
        press(VK_DOWN, row);
        if (HasFatalFailure()) return;
    }
    std::vector<std::string> expected;
    for (const ChannelEntry& row : ChannelTable) expected.emplace_back(row.destination);
    ExpectOpened(expected);
    PressKey(VK_ESCAPE);
    EXPECT_EQ(program.WaitForExit(), 0u);
}

TEST_F(Program, ChannelsOpensThePortalEachTimeAndChangesNothingElse) {
    ProgramUnderTest program;
    ASSERT_TRUE(program.Main());
    ClickListItem(program.List(), 63);
    ASSERT_TRUE(log.WaitForCount(1));
    ClickWindow(program.Control(IDC_CHANNELS));
    ASSERT_TRUE(log.WaitForCount(2));
    ClickWindow(program.Control(IDC_CHANNELS));
    ASSERT_TRUE(log.WaitForCount(3));
    // More messages through the window: the launcher still has CNN as opened last.
    for (int i = 0; i < 20; ++i) ::PostMessageA(program.Main(), WM_NULL, 0, 0);
    const std::string portal = kChannelPortalHome;
    ExpectOpened({At(63), portal, portal});
    EXPECT_EQ(::SendMessageA(program.List(), LB_GETCURSEL, 0, 0), 63);
}

TEST_F(Program, EnterAndEscapeEndWithoutOpeningAnything) {
    for (WORD key : {VK_RETURN, VK_ESCAPE}) {
        ProgramUnderTest program;
        ASSERT_TRUE(program.Main());
        PressKey(key);
        EXPECT_EQ(program.WaitForExit(), 0u) << "key " << key;
    }
    ExpectOpened({});
}

TEST_F(Program, ExitOpensTheProductPageAndEndsWithStatusZero) {
    ProgramUnderTest program;
    ASSERT_TRUE(program.Main());
    ClickWindow(program.Control(IDC_EXIT));
    EXPECT_EQ(program.WaitForExit(), 0u);
    ExpectOpened({kProductPage});
    EXPECT_EQ(std::string(kProductPage), "https://www.lumbrel.com/p/orvenna.html");
}

TEST_F(Program, CommandLineArgumentsHaveNoEffect) {
    ProgramUnderTest program("/x --help https://example.invalid/ CNN");
    ASSERT_TRUE(program.Main());
    EXPECT_EQ(::SendMessageA(program.List(), LB_GETCOUNT, 0, 0), kChannelCount);
    EXPECT_EQ(::SendMessageA(program.List(), LB_GETCURSEL, 0, 0), LB_ERR);
    // Anything the arguments opened would stand before the one channel in the exact record at the end.
    ClickListItem(program.List(), 0);
    ASSERT_TRUE(log.WaitForCount(1));
    PressKey(VK_ESCAPE);
    EXPECT_EQ(program.WaitForExit(), 0u);
    ExpectOpened({At(0)});
}

}  // namespace
