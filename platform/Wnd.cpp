#include "Wnd.h"

#include "WinApp.h"

namespace {

// The first of the live framework windows. A handful at most at any time, so a
// linear search is cheaper than any map, and the list needs no allocation.
CWnd* g_firstPermanent = nullptr;

}  // namespace

CWnd::CWnd() = default;

CWnd::~CWnd() { Detach(); }

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    if (!hWnd) return nullptr;
    for (CWnd* wnd = g_firstPermanent; wnd; wnd = wnd->m_nextPermanent)
        if (wnd->m_hWnd == hWnd) return wnd;
    return nullptr;
}

void CWnd::Attach(HWND hWnd) {
    Detach();
    m_hWnd = hWnd;
    if (!hWnd) return;
    m_nextPermanent = g_firstPermanent;
    g_firstPermanent = this;
}

void CWnd::Detach() {
    if (!m_hWnd) return;
    for (CWnd** link = &g_firstPermanent; *link; link = &(*link)->m_nextPermanent) {
        if (*link == this) {
            *link = m_nextPermanent;
            break;
        }
    }
    m_nextPermanent = nullptr;
    m_hWnd = nullptr;
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::IsIconic() const { return ::IsIconic(m_hWnd); }

void CWnd::GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }

DWORD CWnd::GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_STYLE)); }

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon) {
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon)));
}

HWND CWnd::GetDlgItem(int nID) const { return ::GetDlgItem(m_hWnd, nID); }

CMenu* CWnd::GetSystemMenu(BOOL bRevert) {
    HMENU menu = ::GetSystemMenu(m_hWnd, bRevert);
    if (!menu) return nullptr;
    m_systemMenu.m_hMenu = menu;
    return &m_systemMenu;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP* CWnd::GetThisMessageMap() {
    using ThisClass = CWnd;
    // clang-format off
    static const AFX_MSGMAP_ENTRY entries[] = {
        ON_WM_HELPINFO()
        {0, 0, 0, 0, nullptr},
    };
    // clang-format on
    static const AFX_MSGMAP map = {&CCmdTarget::GetThisMessageMap, entries};
    return &map;
}

bool CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const bool outerDefault = m_defaultRequested;  // messages nest: keep the outer one's request
    m_defaultRequested = false;
    bool handled = false;
    if (message == WM_COMMAND) {
        // Control notifications carry their code; menus and accelerators are plain commands.
        const UINT code = lParam ? HIWORD(wParam) : 0;
        handled = OnCmdMsg(LOWORD(wParam), code);
    } else if (const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(message, 0, 0)) {
        handled = entry->pfn(this, wParam, lParam, result);
    }
    if (m_defaultRequested) handled = false;
    m_defaultRequested = outerDefault;
    return handled;
}

void CWnd::Default() { m_defaultRequested = true; }

void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }

void CWnd::OnPaint() { Default(); }

BOOL CWnd::OnHelpInfo(HELPINFO*) {
    // F1 in a top-level window asks the main window for help, unless a modifier
    // key is held, in which case the platform has it.
    CWnd* mainWnd = AfxGetMainWnd();
    if (!(GetStyle() & WS_CHILD) && mainWnd && mainWnd->m_hWnd && ::GetKeyState(VK_SHIFT) >= 0 &&
        ::GetKeyState(VK_CONTROL) >= 0 && ::GetKeyState(VK_MENU) >= 0) {
        mainWnd->SendMessage(WM_COMMAND, ID_HELP);
        return TRUE;
    }
    Default();
    return FALSE;
}

void CWnd::OnHelp() {
    auto answers = [](HWND start) {
        for (HWND h = start; h; h = ::GetParent(h))
            if (::SendMessageA(h, WM_COMMANDHELP, 0, 0)) return true;
        return false;
    };
    if (answers(::GetCapture()) || answers(::GetFocus()) || answers(::GetLastActivePopup(m_hWnd))) return;
    SendMessage(WM_COMMAND, ID_DEFAULT_HELP);
}

CWnd* AfxGetMainWnd() {
    CWinApp* app = AfxGetApp();
    return app ? app->m_pMainWnd : nullptr;
}
