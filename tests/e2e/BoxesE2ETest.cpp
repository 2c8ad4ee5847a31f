// The About and Help boxes and help on F1, in the real Lumbrel.exe with real input.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "ChannelTable.h"
#include "HelpRecorder.h"
#include "ProgramUnderTest.h"
#include "WebAddresses.h"
#include "WinTestSupport.h"
#include "resource.h"

namespace {

RECT WindowRect(HWND w) {
    RECT r{};
    ::GetWindowRect(w, &r);
    return r;
}

bool Gone(const ProgramUnderTest& program, const char* caption) {
    return WaitUntil([&] { return program.FindTopLevel(caption) == nullptr; }, 5000);
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

struct Child {
    int id;
    std::string cls;
    std::wstring text;
    LONG style;
};

std::vector<Child> Children(HWND parent) {
    std::vector<Child> children;
    for (HWND c = ::GetWindow(parent, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        char cls[64] = {};
        ::GetClassNameA(c, cls, sizeof(cls));
        children.push_back({::GetDlgCtrlID(c), cls, WindowTextW(c), ::GetWindowLongA(c, GWL_STYLE)});
    }
    return children;
}

using Boxes = WithOpenLog;

TEST_F(Boxes, AboutButtonAndSystemCommandsOpenTheSameCentredBox) {
    ProgramUnderTest program;
    ASSERT_TRUE(program.Main());
    const RECT main = WindowRect(program.Main());

    ClickWindow(program.Control(IDC_ABOUT));
    HWND about = program.WaitForTopLevel("About");
    ASSERT_TRUE(about);
    const RECT byButton = WindowRect(about);
    EXPECT_EQ(byButton.left, (main.left + main.right) / 2 - (byButton.right - byButton.left) / 2);
    EXPECT_EQ(byButton.top, (main.top + main.bottom) / 2 - (byButton.bottom - byButton.top) / 2);
    EXPECT_FALSE(::IsWindowEnabled(program.Main()));
    EXPECT_EQ(::GetDlgCtrlID(program.FocusedWindow()), IDOK);
    program.Focus(about);
    PressKey(VK_RETURN);  // OK has the focus and is the default button
    ASSERT_TRUE(Gone(program, "About"));
    EXPECT_TRUE(::IsWindowEnabled(program.Main()));

    for (WPARAM command : {WPARAM{0x0010}, WPARAM{0x001F}}) {
        ::PostMessageA(program.Main(), WM_SYSCOMMAND, command, 0);
        about = program.WaitForTopLevel("About");
        ASSERT_TRUE(about) << "system command " << command;
        const RECT bySystemMenu = WindowRect(about);
        EXPECT_TRUE(::EqualRect(&byButton, &bySystemMenu));
        program.Focus(about);
        PressKey(VK_ESCAPE);
        ASSERT_TRUE(Gone(program, "About"));
    }
    ::PostMessageA(program.Main(), WM_SYSCOMMAND, 0x0020, 0);
    OpenLog::Settle();
    EXPECT_EQ(program.FindTopLevel("About"), nullptr);
    EXPECT_TRUE(log.Lines().empty());
}

TEST_F(Boxes, AboutShowsTheProductAndItsButtonOpensTheMakersSiteEachTime) {
    ProgramUnderTest program;
    ASSERT_TRUE(program.Main());
    ClickWindow(program.Control(IDC_ABOUT));
    HWND about = program.WaitForTopLevel("About");
    ASSERT_TRUE(about);
    const std::vector<Child> children = Children(about);
    ASSERT_EQ(children.size(), 6u);
    EXPECT_EQ(children[0].style & SS_TYPEMASK, SS_ICON);
    EXPECT_EQ(children[1].text, L"Orvenna 2.0, 2026");
    EXPECT_EQ(children[2].text, L"Free software, MIT License.");
    EXPECT_EQ(children[3].id, IDOK);
    EXPECT_EQ(children[4].style & BS_TYPEMASK, BS_GROUPBOX);
    EXPECT_EQ(children[5].id, IDC_WEBSITE);
    EXPECT_EQ(children[5].text, L"www.lumbrel.com");

    HWND website = ::GetDlgItem(about, IDC_WEBSITE);
    for (std::size_t i = 1; i <= 3; ++i) {
        ClickWindow(website);
        ASSERT_TRUE(log.WaitForCount(i));
    }
    OpenLog::Settle();
    EXPECT_EQ(log.Lines(), std::vector<std::string>(3, kMakerHomePage));
    EXPECT_TRUE(::IsWindowVisible(about));
    program.Focus(about);
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(Gone(program, "About"));
}

TEST_F(Boxes, HelpShowsItsInstructionsAndKeepsTheFocusOnOk) {
    ProgramUnderTest program;
    ASSERT_TRUE(program.Main());
    ClickWindow(program.Control(IDC_HELP_BUTTON));
    HWND help = program.WaitForTopLevel("Help");
    ASSERT_TRUE(help);
    const std::vector<Child> c = Children(help);
    ASSERT_EQ(c.size(), 9u);
    EXPECT_EQ(c[0].id, IDOK);
    EXPECT_EQ(c[0].text, L"OK");
    EXPECT_EQ(c[1].text, L"( 2\u00BA ) Click Over Name Channel.");
    EXPECT_EQ(c[2].text, L"( 1\u00BA ) Choice a channel by list.");
    EXPECT_EQ(c[3].text, L"( 3\u00BA ) Watch your channel.");
    EXPECT_EQ(c[4].text, L"( * ) Your channel don't open?");
    EXPECT_EQ(c[5].text, L"Step 1: Wait.");
    EXPECT_EQ(c[6].text, L"Step 2: Click over channel again.");
    EXPECT_EQ(c[7].style & BS_TYPEMASK, BS_GROUPBOX);
    EXPECT_EQ(c[8].text, std::wstring(21, L'_'));
    const RECT main = WindowRect(program.Main()), box = WindowRect(help);
    EXPECT_EQ(box.left, (main.left + main.right) / 2 - (box.right - box.left) / 2);

    program.Focus(help);
    EXPECT_EQ(::GetDlgCtrlID(program.FocusedWindow()), IDOK);
    PressKey(VK_TAB);
    OpenLog::Settle();
    EXPECT_EQ(::GetDlgCtrlID(program.FocusedWindow()), IDOK);
    PressKey(VK_RETURN);
    ASSERT_TRUE(Gone(program, "Help"));

    ClickWindow(program.Control(IDC_HELP_BUTTON));
    help = program.WaitForTopLevel("Help");
    ASSERT_TRUE(help);
    program.Focus(help);
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(Gone(program, "Help"));
    EXPECT_TRUE(::IsWindowEnabled(program.Main()));
}

TEST_F(Boxes, WhileABoxIsOpenTheLauncherOpensNothingNew) {
    ProgramUnderTest program;
    ASSERT_TRUE(program.Main());
    ClickListItem(program.List(), 63);
    ASSERT_TRUE(log.WaitForCount(1));
    ClickWindow(program.Control(IDC_ABOUT));
    HWND about = program.WaitForTopLevel("About");
    ASSERT_TRUE(about);
    for (int i = 0; i < 50; ++i) ::PostMessageA(about, WM_NULL, 0, 0);
    ClickListItem(program.List(), 10);  // the disabled main window takes no clicks
    OpenLog::Settle();
    EXPECT_EQ(log.Lines(), std::vector<std::string>{ChannelTable[63].destination});
    EXPECT_EQ(::SendMessageA(program.List(), LB_GETCURSEL, 0, 0), 63);
    program.Focus(about);
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(Gone(program, "About"));
}

TEST_F(Boxes, F1AsksForEachWindowsContextFromTheProgramsHelpFile) {
    HelpRecorder engine;
    ProgramUnderTest program;
    ASSERT_TRUE(program.Main());
    std::string expectedFile = ProgramUnderTest::ExecutablePath();
    expectedFile = expectedFile.substr(0, expectedFile.size() - 4) + ".HLP";

    PressKey(VK_F1);
    ASSERT_TRUE(engine.WaitForCount(1));
    ASSERT_TRUE(program.PressF1InBox(IDC_ABOUT, "About", [&] { return engine.WaitForCount(2); }));
    ASSERT_TRUE(program.PressF1InBox(IDC_HELP_BUTTON, "Help", [&] { return engine.WaitForCount(3); }));

    // With a modifier held, F1 is the platform's and the program asks for nothing.
    program.Focus();
    PressKeyWith(VK_SHIFT, VK_F1);
    PressKeyWith(VK_CONTROL, VK_F1);
    OpenLog::Settle();

    const auto requests = engine.Requests();
    ASSERT_EQ(requests.size(), 3u);
    const DWORD contexts[] = {0x20066, 0x20064, 0x20082};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(requests[i].command, static_cast<UINT>(HELP_CONTEXT));
        EXPECT_EQ(requests[i].data, contexts[i]);
        EXPECT_EQ(Lower(requests[i].file), Lower(expectedFile));
        EXPECT_EQ(requests[i].owner, program.Main());
    }
    EXPECT_TRUE(log.Lines().empty());
}

// F1 with a failing help engine: the framework's message, captioned with the
// program's name, goes away with Enter and leaves the program running.
void ExpectHelpFailureCaptioned(const std::wstring& executable, const char* caption) {
    HelpRecorder engine(false);
    ProgramUnderTest program("", executable);
    ASSERT_TRUE(program.Main());
    PressKey(VK_F1);
    HWND box = program.WaitForTopLevel(caption);
    ASSERT_TRUE(box) << "no message box captioned " << caption;
    bool found = false;
    for (const Child& c : Children(box)) found = found || c.text == L"Failed to launch help.";
    EXPECT_TRUE(found);
    program.Focus(box);
    PressKey(VK_RETURN);
    EXPECT_TRUE(Gone(program, caption));
    EXPECT_TRUE(::IsWindow(program.Main()));
}

TEST_F(Boxes, AFailingHelpEngineShowsTheFrameworksMessage) { ExpectHelpFailureCaptioned(L"", "Lumbrel"); }

// Runs on its own under code page 932 (LANG=ja_JP.UTF-8), where the second byte
// of a character can be a backslash.
TEST(DoubleByteCodePage, ACopyNamedInJapaneseIsCaptionedWithItsWholeName) {
    ASSERT_EQ(::GetACP(), 932u) << "needs the ja_JP.UTF-8 locale";
    std::wstring copy = ProgramUnderTest::ExecutablePathW();
    copy = copy.substr(0, copy.size() - 11) + L"\u8868\u793a.exe";  // 表示.exe: CP932 95 5C 8E A6
    ASSERT_TRUE(::CopyFileW(ProgramUnderTest::ExecutablePathW().c_str(), copy.c_str(), FALSE));
    ExpectHelpFailureCaptioned(copy, "\x95\x5C\x8E\xA6");
    ::DeleteFileW(copy.c_str());
}

}  // namespace
