#include "ProgramUnderTest.h"

#include <vector>

#include "WinTestSupport.h"

std::string ProgramUnderTest::ExecutablePath() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p(path);
    return p.substr(0, p.find_last_of("\\/") + 1) + "Lumbrel.exe";
}

std::wstring ProgramUnderTest::ExecutablePathW() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p(path);
    return p.substr(0, p.find_last_of(L"\\/") + 1) + L"Lumbrel.exe";
}

ProgramUnderTest::ProgramUnderTest(const std::string& arguments, const std::wstring& executable) {
    // Started by its UTF-16 name, which holds in any code page.
    std::wstring commandLine = L"\"";
    commandLine += executable.empty() ? ExecutablePathW() : executable;
    commandLine += L"\"";
    if (!arguments.empty()) {
        commandLine += L' ';
        commandLine.append(arguments.begin(), arguments.end());
    }
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    if (!::CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_process))
        return;
    ::WaitForInputIdle(m_process.hProcess, 10000);
    m_main = WaitForTopLevel(" Orvenna", 20000);
    if (m_main) {
        // Wait until the list is filled and the window can take input.
        WaitUntil([&] { return ::SendMessageA(List(), LB_GETCOUNT, 0, 0) > 0; });
        Focus();
    }
}

ProgramUnderTest::~ProgramUnderTest() {
    if (!m_process.hProcess) return;
    if (::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(m_process.hProcess, 99);
        ::WaitForSingleObject(m_process.hProcess, 5000);
    }
    ::CloseHandle(m_process.hThread);
    ::CloseHandle(m_process.hProcess);
}

namespace {

struct TopLevelSearch {
    DWORD pid;
    const char* caption;
    HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND w, LPARAM lp) {
    auto* s = reinterpret_cast<TopLevelSearch*>(lp);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(w, &pid);
    if (pid != s->pid || !::IsWindowVisible(w) || WindowText(w) != s->caption) return TRUE;
    s->found = w;
    return FALSE;
}

}  // namespace

HWND ProgramUnderTest::FindTopLevel(const char* caption) const {
    TopLevelSearch search{m_process.dwProcessId, caption, nullptr};
    ::EnumWindows(&MatchTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND ProgramUnderTest::WaitForTopLevel(const char* caption, DWORD timeoutMs) const {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopLevel(caption)) != nullptr; }, timeoutMs);
    return found;
}

void ProgramUnderTest::Focus(HWND w) const {
    HWND target = w ? w : m_main;
    if (::GetForegroundWindow() == target) return;
    ::SetForegroundWindow(target);
    WaitUntil([&] { return ::GetForegroundWindow() == target; }, 3000);
}

DWORD ProgramUnderTest::WaitForExit(DWORD timeoutMs) const {
    DWORD code = STILL_ACTIVE;
    if (::WaitForSingleObject(m_process.hProcess, timeoutMs) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(m_process.hProcess, &code);
    return code;
}

HWND ProgramUnderTest::FocusedWindow() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    ::GetGUIThreadInfo(m_process.dwThreadId, &info);
    return info.hwndFocus;
}

bool ProgramUnderTest::PressF1InBox(int button, const char* caption, const std::function<bool()>& answered,
                                    const std::function<bool(HWND)>& first) const {
    ClickWindow(Control(button));
    HWND box = WaitForTopLevel(caption);
    if (!box || (first && !first(box))) return false;
    Focus(box);
    PressKey(VK_F1);
    if (!answered()) return false;
    PressKey(VK_ESCAPE);
    return WaitUntil([&] { return FindTopLevel(caption) == nullptr; }, 5000);
}

void ClickWindow(HWND w) {
    RECT r{};
    ::GetWindowRect(w, &r);
    ClickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

std::string ListItemText(HWND list, int item) {
    // Read as UTF-16: the text crosses the process boundary in that form.
    wchar_t text[256] = {};
    if (::SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(item), 0) >= 255) return "<too long>";
    ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(text));
    char narrow[512] = {};
    ::WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof(narrow), nullptr, nullptr);
    return narrow;
}

std::string WindowText(HWND w) {
    char text[512] = {};
    ::SendMessageTimeoutA(w, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, nullptr);
    return text;
}

std::wstring WindowTextW(HWND w) {
    wchar_t text[512] = {};
    ::SendMessageTimeoutW(w, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, nullptr);
    return text;
}
