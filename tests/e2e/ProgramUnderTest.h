#pragma once
// The real Lumbrel.exe as a separate process: start it, find its windows, end it.

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "WinTestSupport.h"

class ProgramUnderTest {
public:
    // Starts Lumbrel.exe (beside the test program), or the copy at executable,
    // with the given arguments and waits for its main window to be shown.
    explicit ProgramUnderTest(const std::string& arguments = "", const std::wstring& executable = L"");
    ~ProgramUnderTest();
    ProgramUnderTest(const ProgramUnderTest&) = delete;
    ProgramUnderTest& operator=(const ProgramUnderTest&) = delete;

    HWND Main() const { return m_main; }
    HWND List() const { return ::GetDlgItem(m_main, 1040); }
    HWND Control(int id) const { return ::GetDlgItem(m_main, id); }
    DWORD ProcessId() const { return m_process.dwProcessId; }

    // A visible top-level window of the program's with this caption, or nullptr.
    HWND FindTopLevel(const char* caption) const;
    HWND WaitForTopLevel(const char* caption, DWORD timeoutMs = 10000) const;
    // Brings the main window (or w) to the foreground so that real input reaches it.
    void Focus(HWND w = nullptr) const;
    // The exit code once the process has ended; STILL_ACTIVE after the time-out.
    DWORD WaitForExit(DWORD timeoutMs = 10000) const;
    // The window with the keyboard focus in the program's thread.
    HWND FocusedWindow() const;
    // Opens the box behind button, does first there (when given), presses F1 in it
    // until answered holds, and closes it with Escape; false at the first step
    // that does not happen.
    bool PressF1InBox(int button, const char* caption, const std::function<bool()>& answered,
                      const std::function<bool(HWND)>& first = nullptr) const;

    static std::string ExecutablePath();
    static std::wstring ExecutablePathW();

private:
    PROCESS_INFORMATION m_process{};
    HWND m_main = nullptr;
};

void ClickWindow(HWND w);
std::string WindowText(HWND w);
std::string ListItemText(HWND list, int item);
std::wstring WindowTextW(HWND w);

// A test that starts with an empty record of opened addresses.
class WithOpenLog : public ::testing::Test {
protected:
    OpenLog log;
    void SetUp() override { log.Clear(); }
    // Waits for the expected addresses, then a little longer for any extra one.
    void ExpectOpened(const std::vector<std::string>& expected) {
        EXPECT_TRUE(log.WaitForCount(expected.size()));
        OpenLog::Settle();
        EXPECT_EQ(log.Lines(), expected);
    }
};
