// A folder such as Downloads may hold files named like Windows DLLs. Lumbrel.exe
// copied there beside a marker DLL under every name it could load, with Wine told
// to prefer a DLL found on the search path over its own, must load none of them
// along its whole path.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ChannelTable.h"
#include "HelpRecorder.h"
#include "ProgramUnderTest.h"
#include "WebAddresses.h"
#include "WinTestSupport.h"
#include "resource.h"

namespace {

// The planted names are those Wine is told to look for on the search path first
// (WINEDLLOVERRIDES "...;name,name=n,b", set by the test's registration, where
// the comment says how the list was made). Loaded by Wine, never by Windows, and
// so not planted:
// - version.dll: bound before the program's first instruction as a dependency of
//   Wine's own system DLLs; Windows binds those from the system directory.
// - msimg32.dll: delay-loaded by Wine's user32 along a path that ignores the
//   process's search restriction; Windows' user32 does not load it.
// - zlib1.dll: Wine's own copy of zlib, bound with Wine's system DLLs before the
//   program's first instruction; Windows has no such DLL.
std::vector<std::string> PlantedNames() {
    char overrides[4096] = {};
    ::GetEnvironmentVariableA("WINEDLLOVERRIDES", overrides, sizeof(overrides));
    std::string all(overrides);
    const std::size_t end = all.find("=n,b");
    const std::size_t start = end == std::string::npos ? end : all.rfind(';', end);
    std::vector<std::string> names;
    if (start == std::string::npos) return names;
    std::string list = all.substr(start + 1, end - start - 1) + ",";
    for (std::size_t at = 0, comma; (comma = list.find(',', at)) != std::string::npos; at = comma + 1) {
        std::string name = list.substr(at, comma - at);
        if (name.find('.') == std::string::npos) name += ".dll";
        if (!name.empty()) names.push_back(name);
    }
    return names;
}

std::wstring Widen(const std::string& s) { return std::wstring(s.begin(), s.end()); }

class DllPlanting : public WithOpenLog {
protected:
    std::wstring m_bin = ProgramUnderTest::ExecutablePathW().substr(0, ProgramUnderTest::ExecutablePathW().size() - 11);
    std::wstring m_folder = m_bin + L"planted\\";
    std::vector<std::string> m_planted = PlantedNames();

    void SetUp() override {
        WithOpenLog::SetUp();
        ASSERT_GT(m_planted.size(), 10u) << "WINEDLLOVERRIDES names no DLLs to plant";
        ::CreateDirectoryW(m_folder.c_str(), nullptr);
        for (const std::string& name : m_planted) {
            ::DeleteFileW((m_folder + Widen(name) + L".loaded").c_str());
            ASSERT_TRUE(::CopyFileW((m_bin + L"planted_marker.dll").c_str(), (m_folder + Widen(name)).c_str(), FALSE));
        }
        for (const wchar_t* exe : {L"Lumbrel.exe", L"planting_control.exe"})
            ASSERT_TRUE(::CopyFileW((m_bin + exe).c_str(), (m_folder + exe).c_str(), FALSE));
    }

    // The planted names that left a marker, removing the markers.
    std::vector<std::string> Markers() const {
        std::vector<std::string> found;
        for (const std::string& name : m_planted)
            if (::DeleteFileW((m_folder + Widen(name) + L".loaded").c_str())) found.emplace_back(name);
        return found;
    }
};

TEST_F(DllPlanting, NoDllBesideTheProgramIsLoadedAlongItsWholePath) {
    // The control loads every planted name with no restriction: each must leave
    // its marker, or this test could not see a planted load.
    std::wstring command = L"\"" + m_folder + L"planting_control.exe\"";
    for (const std::string& name : m_planted) command += L" " + Widen(name);
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION control{};
    ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &control));
    EXPECT_EQ(::WaitForSingleObject(control.hProcess, 60000), WAIT_OBJECT_0);
    ::CloseHandle(control.hThread);
    ::CloseHandle(control.hProcess);
    EXPECT_EQ(Markers(), m_planted) << "the control did not load every planted name";

    {
        HelpRecorder engine;
        ProgramUnderTest program("", m_folder + L"Lumbrel.exe");
        ASSERT_TRUE(program.Main());
        ClickListItem(program.List(), 63);
        ASSERT_TRUE(log.WaitForCount(1));
        ClickWindow(program.Control(IDC_CHANNELS));
        ASSERT_TRUE(log.WaitForCount(2));
        PressKey(VK_F1);
        ASSERT_TRUE(engine.WaitForCount(1));

        ASSERT_TRUE(program.PressF1InBox(
            IDC_ABOUT, "About", [&] { return engine.WaitForCount(2); },
            [&](HWND about) {
                ClickWindow(::GetDlgItem(about, IDC_WEBSITE));
                return log.WaitForCount(3);
            }));
        ASSERT_TRUE(program.PressF1InBox(IDC_HELP_BUTTON, "Help", [&] { return engine.WaitForCount(3); }));
        ClickWindow(program.Control(IDC_EXIT));
        EXPECT_EQ(program.WaitForExit(), 0u);
    }
    ExpectOpened({ChannelTable[63].destination, kChannelPortalHome, kMakerHomePage, kProductPage});
    EXPECT_EQ(Markers(), std::vector<std::string>{});
}

}  // namespace
