#include "WinTestSupport.h"

#include <cstdlib>
#include <fstream>

OpenLog::OpenLog() {
    const char* unixPath = std::getenv("ORVENNA_OPEN_LOG");
    if (unixPath) {
        // Wine maps the Unix root to drive Z:.
        m_path = std::string("Z:") + unixPath;
        for (char& c : m_path)
            if (c == '/') c = '\\';
    }
}

void OpenLog::Clear() {
    if (!m_path.empty()) std::ofstream(m_path, std::ios::trunc);
}

std::vector<std::string> OpenLog::Lines() const {
    std::vector<std::string> lines;
    std::ifstream in(m_path);
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) lines.push_back(line);
    return lines;
}

bool OpenLog::WaitForCount(std::size_t count, DWORD timeoutMs) const {
    return WaitUntil([&] { return Lines().size() >= count; }, timeoutMs);
}

void OpenLog::Settle() { ::Sleep(1500); }

namespace {
constexpr UINT kInvoke = WM_APP + 77;
}

UiInvoker::UiInvoker() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &UiInvoker::WindowProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "OrvennaTestInvoker";
    ::RegisterClassA(&wc);
    m_hWnd = ::CreateWindowA("OrvennaTestInvoker", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
}

UiInvoker::~UiInvoker() { ::DestroyWindow(m_hWnd); }

void UiInvoker::Run(const std::function<void()>& fn) const {
    ::SendMessageA(m_hWnd, kInvoke, 0, reinterpret_cast<LPARAM>(&fn));
}

LRESULT CALLBACK UiInvoker::WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kInvoke) {
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
        return 0;
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

void ClickAt(POINT screen) {
    const int w = ::GetSystemMetrics(SM_CXSCREEN), h = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT in[3]{};
    for (INPUT& i : in) {
        i.type = INPUT_MOUSE;
        i.mi.dx = static_cast<LONG>((screen.x * 65535 + w / 2) / (w - 1));
        i.mi.dy = static_cast<LONG>((screen.y * 65535 + h / 2) / (h - 1));
    }
    in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    // The pointer reaches the point before the button goes down: pressed at
    // once, the press can land where the pointer was.
    ::SendInput(1, &in[0], sizeof(INPUT));
    WaitUntil(
        [&] {
            POINT at{};
            ::GetCursorPos(&at);
            return at.x == screen.x && at.y == screen.y;
        },
        1000);
    ::Sleep(30);
    ::SendInput(2, &in[1], sizeof(INPUT));
}

void PressKey(WORD vk) {
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, in, sizeof(INPUT));
}

void PressKeyWith(WORD modifier, WORD vk) {
    INPUT in[4]{};
    for (INPUT& i : in) i.type = INPUT_KEYBOARD;
    in[0].ki.wVk = modifier;
    in[1].ki.wVk = vk;
    in[2].ki.wVk = vk;
    in[2].ki.dwFlags = KEYEVENTF_KEYUP;
    in[3].ki.wVk = modifier;
    in[3].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(4, in, sizeof(INPUT));
}

void ClickListItem(HWND list, int item) {
    // Bring the item into view first, then click the middle of its rectangle.
    ::SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(item), 0);
    RECT r{};
    ::SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&r));
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ::ClientToScreen(list, &p);
    ClickAt(p);
    // Input is handled after messages sent in the meantime: let the click land
    // before anything else scrolls the list under it.
    WaitUntil([&] { return ::SendMessageA(list, LB_GETCURSEL, 0, 0) == item; }, 1000);
}

bool WaitUntil(const std::function<bool()>& predicate, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    while (!predicate()) {
        if (::GetTickCount() - start > timeoutMs) return false;
        ::Sleep(20);
    }
    return true;
}
