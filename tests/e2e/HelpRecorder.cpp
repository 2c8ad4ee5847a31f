#include "HelpRecorder.h"

#include <cstring>

#include "WinTestSupport.h"

namespace {

// The request the help engine receives in WM_COPYDATA: a header, then the file name.
struct WinHelpHeader {
    WORD size;
    WORD command;
    LONG data;
    LONG reserved;
    WORD ofsFilename;
    WORD ofsData;
};

}  // namespace

HelpRecorder::HelpRecorder(bool succeed) : m_succeed(succeed) {
    m_thread = std::thread([this] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &HelpRecorder::WindowProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "MS_WINHELP";
        ::RegisterClassA(&wc);
        HWND w = ::CreateWindowA("MS_WINHELP", "Help recorder", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance,
                                 nullptr);
        ::SetWindowLongPtrA(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        m_threadId = ::GetCurrentThreadId();
        m_window = w;
        MSG msg;
        while (::GetMessageA(&msg, nullptr, 0, 0) > 0) ::DispatchMessageA(&msg);
        ::DestroyWindow(w);
        ::UnregisterClassA("MS_WINHELP", wc.hInstance);
    });
    WaitUntil([&] { return m_window.load() != nullptr; });
}

HelpRecorder::~HelpRecorder() {
    ::PostThreadMessageA(m_threadId, WM_QUIT, 0, 0);
    m_thread.join();
}

std::vector<HelpRequest> HelpRecorder::Requests() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests;
}

bool HelpRecorder::WaitForCount(std::size_t count, DWORD timeoutMs) const {
    return WaitUntil([&] { return Requests().size() >= count; }, timeoutMs);
}

void HelpRecorder::Record(HWND owner, const COPYDATASTRUCT* cds) {
    if (!cds || cds->cbData < sizeof(WinHelpHeader)) return;
    WinHelpHeader header{};
    std::memcpy(&header, cds->lpData, sizeof(header));
    std::string file;
    if (header.ofsFilename && header.ofsFilename < cds->cbData) {
        const char* start = static_cast<const char*>(cds->lpData) + header.ofsFilename;
        file.assign(start, strnlen(start, cds->cbData - header.ofsFilename));
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_requests.push_back({header.command, static_cast<DWORD>(header.data), file, owner});
}

LRESULT CALLBACK HelpRecorder::WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
        auto* self = reinterpret_cast<HelpRecorder*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
        if (!self) return FALSE;
        self->Record(reinterpret_cast<HWND>(wParam), reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        return self->m_succeed ? TRUE : FALSE;
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}
