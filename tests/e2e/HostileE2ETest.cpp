// What another program can do to the running Lumbrel.exe: put items of its own
// into the list, flood the windows with random messages, start and end it many
// times. Nothing may crash or hang, and nothing but the program's own https
// addresses may ever reach the shell. Every run has a fixed seed and a bound.

#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "ChannelTable.h"
#include "HelpRecorder.h"
#include "ProgramUnderTest.h"
#include "WebAddresses.h"
#include "WinTestSupport.h"
#include "resource.h"

namespace {

// The starts in a row, and the storm's messages per 500. A quarter on the
// 32-bit build, which these machines run under emulation, where the counts
// measure the emulator more than the program; the 64-bit build keeps the full ones.
#ifdef _WIN64
constexpr int kStressCount = 200;
#else
constexpr int kStressCount = 50;
#endif

// Every address the program may open, in the form the browser receives it.
std::set<std::string> OwnAddresses() {
    std::set<std::string> own;
    for (const ChannelEntry& row : ChannelTable) own.insert(row.destination);
    for (const char* page : {kChannelPortalHome, kMakerHomePage, kProductPage}) own.insert(page);
    return own;
}

void ExpectOnlyOwnHttpsAddresses(const std::vector<std::string>& opened) {
    const std::set<std::string> own = OwnAddresses();
    for (const std::string& address : opened) {
        EXPECT_TRUE(own.count(address)) << "not one of the program's addresses: " << address;
        EXPECT_EQ(address.rfind("https://", 0), 0u) << address;
    }
}

bool Responds(HWND w) {
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutA(w, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, 1000, &result) != 0;
}

using Hostile = WithOpenLog;

TEST_F(Hostile, ForeignItemsInTheListOpenNothing) {
    ProgramUnderTest program;
    ASSERT_TRUE(program.Main());
    HWND list = program.List();
    HWND main = program.Main();

    std::vector<std::string> foreign = {"",
                                        "C",
                                        std::string(65536, 'x'),
                                        "cnn",
                                        "Cnn",
                                        "CNN ",
                                        " CNN",
                                        "zoo moo",
                                        "Zoo Moo ",
                                        "CNN Brasil ",
                                        "123 go!",
                                        std::string(28, 'A')};
    std::string high;
    for (int b = 0x80; b <= 0xFF; ++b) high += static_cast<char>(b);
    foreign.push_back(high);
    for (const std::string& text : foreign)
        ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    ::SendMessageA(list, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("inserted at the top"));
    const int count = static_cast<int>(::SendMessageA(list, LB_GETCOUNT, 0, 0));
    ASSERT_EQ(count, kChannelCount + static_cast<int>(foreign.size()) + 1);

    // Select each foreign item, tell the window as a list would, and let
    // messages pass the hook; click some of them for real too.
    std::vector<int> positions = {0};
    for (int i = kChannelCount + 1; i < count; ++i) positions.push_back(i);
    for (int position : positions) {
        ::SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(position), 0);
        ::SendMessageA(main, WM_COMMAND, MAKEWPARAM(IDC_CHANNEL_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
        ::SendMessageA(main, WM_COMMAND, MAKEWPARAM(IDC_CHANNEL_LIST, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
        for (int i = 0; i < 5; ++i) ::PostMessageA(main, WM_NULL, 0, 0);
        ASSERT_TRUE(Responds(main));
    }
    ::SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);  // so each click is seen to land
    ClickListItem(list, count - 1);
    ClickListItem(list, 0);
    EXPECT_EQ(::SendMessageA(list, LB_GETCURSEL, 0, 0), 0);
    OpenLog::Settle();
    EXPECT_TRUE(log.Lines().empty());
    ASSERT_TRUE(Responds(main));

    // The real channels still open correctly, once each, although every name now
    // stands one place lower than its row.
    ClickListItem(list, 64);  // "CNN"
    ASSERT_TRUE(log.WaitForCount(1));
    OpenLog::Settle();
    EXPECT_EQ(log.Lines(), std::vector<std::string>{ChannelTable[63].destination});
    PressKey(VK_ESCAPE);
    EXPECT_EQ(program.WaitForExit(), 0u);
}

// Messages whose documented effect is to end or destroy the window or its
// contents, or that carry pointers or handles that could not cross processes.
bool Excluded(UINT message, WPARAM wParam) {
    switch (message) {
    case WM_DESTROY:
    case WM_NCDESTROY:
    case WM_CLOSE:
    case WM_QUIT:
    case WM_QUERYENDSESSION:
    case WM_ENDSESSION:
    case WM_SYSCOMMAND:
    case LB_RESETCONTENT:
    case LB_DELETESTRING:
        return true;
    // Device contexts are the sending process's own: no other process has one to give.
    case WM_PAINT:
    case WM_ERASEBKGND:
    case WM_ICONERASEBKGND:
    case WM_PRINT:
    case WM_PRINTCLIENT:
    case 0x0019 /* WM_CTLCOLOR */:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return true;
    case WM_COMMAND: {
        const WORD id = LOWORD(wParam);
        return id == IDOK || id == IDCANCEL || id == IDC_EXIT || id == IDC_ABOUT || id == IDC_HELP_BUTTON;
    }
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
    case WM_DEADCHAR:
    case WM_SYSDEADCHAR:
    case WM_UNICHAR: {
        const WORD key = LOWORD(wParam);
        return key == VK_RETURN || key == VK_ESCAPE || key == VK_F4 || key == VK_CANCEL || key == VK_SPACE ||
               key == VK_TAB || key == '\r' || key == 0x1B;
    }
    default:
        return (message >= 0x03E0 && message <= 0x03EF) ||  // DDE: global handles
               (message >= 0x1600 && message <= 0x160F) ||  // BCM_*: button structures by pointer
               (message >= 0x2000 && message <= 0x20FF);    // CCM_* and reflected messages
    }
}

TEST_F(Hostile, AStormOfRandomMessagesNeitherCrashesNorHangsNorOpensForeignAddresses) {
    HelpRecorder engine;  // F1 and help requests in the storm go to the stand-in engine
    ProgramUnderTest program;
    ASSERT_TRUE(program.Main());
    const HWND targets[] = {program.Main(), program.List(), program.Control(IDC_CHANNELS)};
    std::mt19937 random(20261209);
    constexpr int kMessages = kStressCount * 500;
    // Each answer is a round trip between the processes; one after every 100
    // posts still names, on a failure, the posts since the last answer.
    constexpr int kAnswerEvery = 100;
    int posted = 0, selections = 0;
    std::vector<std::string> recent;  // the last messages posted, for a failure's report
    while (posted < kMessages) {
        const UINT message = random() % 0xC000;
        const WPARAM wParam = random();
        const LPARAM lParam = static_cast<LPARAM>(random());
        if (Excluded(message, wParam)) continue;
        HWND target = targets[random() % 3];
        // A full queue refuses posts; give the program time to drain it.
        for (int tries = 0; tries < 200 && !::PostMessageA(target, message, wParam, lParam); ++tries) {
            if (::GetLastError() != ERROR_NOT_ENOUGH_QUOTA) break;
            ::Sleep(5);
        }
        ++posted;
        char line[96];
        std::snprintf(
            line, sizeof(line), "%04x w=%llx l=%llx to %d", message, static_cast<unsigned long long>(wParam),
            static_cast<unsigned long long>(lParam),
            static_cast<int>(std::find(std::begin(targets), std::end(targets), target) - std::begin(targets)));
        recent.push_back(line);
        if (recent.size() > 500) recent.erase(recent.begin());
        if (posted % kAnswerEvery == 0) {
            if (!Responds(program.Main())) {
                std::string report;
                for (const auto& r : recent) report += r + "\n";
                FAIL() << "no answer after " << posted << " messages; exit code " << std::hex << program.WaitForExit(0)
                       << "; the last messages:\n"
                       << report;
            }
            recent.clear();
        }
        if (posted % (kMessages / 10) == 0) {
            // A real selection between the random messages.
            program.Focus();
            ClickListItem(program.List(), static_cast<int>(random() % kChannelCount));
            ++selections;
        }
    }
    ASSERT_TRUE(Responds(program.Main()));
    DWORD exitCode = program.WaitForExit(0);
    EXPECT_EQ(exitCode, static_cast<DWORD>(STILL_ACTIVE)) << "the program ended during the storm";
    OpenLog::Settle();
    const auto opened = log.Lines();
    ExpectOnlyOwnHttpsAddresses(opened);
    EXPECT_EQ(selections, 10);
    std::printf("storm: %d messages, %d real selections, %zu addresses opened, %zu help requests\n", posted, selections,
                opened.size(), engine.Requests().size());
}

std::size_t RunningCopies() {
    std::size_t n = 0;
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32First(snapshot, &entry); more; more = ::Process32Next(snapshot, &entry)) {
        std::string name = entry.szExeFile;
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        n += name == "lumbrel.exe";
    }
    ::CloseHandle(snapshot);
    return n;
}

TEST_F(Hostile, StartsAndEndsInARow) {
    int exits = 0;
    for (int run = 0; run < kStressCount; ++run) {
        ProgramUnderTest program;
        ASSERT_TRUE(program.Main()) << "run " << run;
        switch (run % 3) {
        case 0:
            PressKey(VK_ESCAPE);
            break;
        case 1:
            PressKey(VK_RETURN);
            break;
        default:
            ClickWindow(program.Control(IDC_EXIT));
            ++exits;
            break;
        }
        ASSERT_EQ(program.WaitForExit(), 0u) << "run " << run;
    }
    EXPECT_EQ(RunningCopies(), 0u);
    ASSERT_TRUE(log.WaitForCount(static_cast<std::size_t>(exits), 60000));
    OpenLog::Settle();
    EXPECT_EQ(log.Lines(), std::vector<std::string>(static_cast<std::size_t>(exits), kProductPage));
}

}  // namespace
