#include "Dialog.h"

#include <cstring>

#include "Centering.h"
#include "WinApp.h"

namespace {

// What the framework needs from a dialog template header, classic or extended.
struct TemplateHeader {
    DWORD style;
    short x;
    short y;
};

TemplateHeader ReadTemplateHeader(const BYTE* t) {
    WORD version = 0, signature = 0;
    std::memcpy(&version, t, 2);
    std::memcpy(&signature, t + 2, 2);
    TemplateHeader h{};
    if (version == 1 && signature == 0xFFFF) {  // DLGTEMPLATEEX
        std::memcpy(&h.style, t + 12, 4);
        std::memcpy(&h.x, t + 18, 2);
        std::memcpy(&h.y, t + 20, 2);
    } else {  // DLGTEMPLATE
        std::memcpy(&h.style, t, 4);
        std::memcpy(&h.x, t + 10, 2);
        std::memcpy(&h.y, t + 12, 2);
    }
    return h;
}

bool IsKeyboardOrMouse(UINT message) {
    return (message >= 0x0100 && message <= 0x0108) || (message >= 0x0200 && message <= 0x0209);
}

// Offers pMsg to the framework windows from its target up through GetParent to
// the main window, then to the main window if the walk did not reach it.
BOOL PreTranslateThroughChain(MSG* pMsg) {
    CWnd* mainWnd = AfxGetMainWnd();
    HWND stop = mainWnd ? mainWnd->m_hWnd : nullptr;
    bool reachedMain = false;
    for (HWND h = pMsg->hwnd; h; h = ::GetParent(h)) {
        if (CWnd* wnd = CWnd::FromHandlePermanent(h))
            if (wnd->PreTranslateMessage(pMsg)) return TRUE;
        if (h == stop) {
            reachedMain = true;
            break;
        }
    }
    if (!reachedMain && mainWnd && mainWnd->m_hWnd) return mainWnd->PreTranslateMessage(pMsg);
    return FALSE;
}

}  // namespace

CDialog* CDialog::s_creating = nullptr;

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

INT_PTR CDialog::DoModal() {
    CWinApp* app = AfxGetApp();
    HINSTANCE module = app ? app->m_hInstance : ::GetModuleHandleA(nullptr);
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(m_nIDTemplate), MAKEINTRESOURCEA(5));  // RT_DIALOG
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    m_template = loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
    if (!m_template) return -1;

    // A dialog without a parent is owned by the main window (none for the main
    // window itself), which takes no input while the dialog runs.
    CWnd* mainWnd = AfxGetMainWnd();
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : (mainWnd && mainWnd != this ? mainWnd->m_hWnd : nullptr);
    bool reenableOwner = false;
    if (owner && ::IsWindowEnabled(owner)) {
        ::EnableWindow(owner, FALSE);
        reenableOwner = true;
    }

    m_continueModal = true;
    m_nModalResult = -1;
    s_creating = this;
    HWND hWnd = ::CreateDialogIndirectParamA(module, reinterpret_cast<LPCDLGTEMPLATEA>(m_template), owner,
                                             &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    s_creating = nullptr;
    if (!hWnd) {
        if (reenableOwner) ::EnableWindow(owner, TRUE);
        m_continueModal = false;
        return -1;
    }

    // A template without WS_VISIBLE is shown once it is initialised and placed.
    if (!(::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_VISIBLE)) {
        ::ShowWindow(hWnd, SW_SHOWNORMAL);
        ::UpdateWindow(hWnd);
    }
    MSG msg;
    while (m_continueModal) {
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {  // quit: end this loop and every loop outside it
            ::PostQuitMessage(got == 0 ? static_cast<int>(msg.wParam) : 0);
            m_nModalResult = -1;
            break;
        }
        if (msg.message == WM_KICKIDLE) continue;
        if (!PreTranslateThroughChain(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    m_continueModal = false;

    // The owner is enabled again before the dialog goes, so activation returns to it.
    if (reenableOwner) ::EnableWindow(owner, TRUE);
    if (owner && ::GetActiveWindow() == hWnd) ::SetActiveWindow(owner);
    if (::IsWindow(hWnd)) ::DestroyWindow(hWnd);
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult) {
    const bool wasRunning = m_continueModal;
    m_nModalResult = nResult;
    m_continueModal = false;
    if (!m_hWnd) return;
    ::EndDialog(m_hWnd, nResult);
    // The loop may be asleep in GetMessage, and Windows does not document that
    // ending a dialog posts anything, so it need not: wake the loop, so that it
    // sees its flag now rather than at the next input.
    if (wasRunning) ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::OnDpiChanged(UINT) {}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    if (!m_hWnd || !IsKeyboardOrMouse(pMsg->message)) return FALSE;
    return ::IsDialogMessageA(m_hWnd, pMsg);
}

LRESULT CDialog::OnCommandHelp(WPARAM, LPARAM lParam) {
    if (lParam == 0) lParam = static_cast<LPARAM>(HID_BASE_RESOURCE + m_nIDTemplate);
    if (CWinApp* app = AfxGetApp()) app->WinHelpInternal(static_cast<DWORD_PTR>(lParam));
    return TRUE;
}

bool CDialog::OnCmdMsg(UINT nID, UINT nCode) {
    if (CWnd::OnCmdMsg(nID, nCode)) return true;
    // Commands the dialog does not handle go to its owner, then to the application.
    if (nCode != 0 || nID >= 0xF000) return false;
    if (HWND owner = ::GetWindow(m_hWnd, GW_OWNER))
        if (CWnd* ownerWnd = CWnd::FromHandlePermanent(owner))
            if (ownerWnd->OnCmdMsg(nID, nCode)) return true;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(nID, nCode);
}

const AFX_MSGMAP* CDialog::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP* CDialog::GetThisMessageMap() {
    using ThisClass = CDialog;
    // clang-format off
    static const AFX_MSGMAP_ENTRY entries[] = {
        ON_COMMAND(IDOK, &CDialog::OnOK)
        ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
        ON_MESSAGE(WM_COMMANDHELP, &CDialog::OnCommandHelp)
        {0, 0, 0, 0, nullptr},
    };
    // clang-format on
    static const AFX_MSGMAP map = {&CWnd::GetThisMessageMap, entries};
    return &map;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    CDialog* self = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hWnd, DWLP_USER));
    if (message == WM_INITDIALOG) {
        // Only the one the platform sends while it creates the window carries
        // the object; any later one (another program can post it) is ignored.
        if (self || s_creating != reinterpret_cast<CDialog*>(lParam)) return FALSE;
        self = s_creating;
        s_creating = nullptr;
        ::SetWindowLongPtrA(hWnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        self->Attach(hWnd);
    }
    if (!self) return FALSE;  // messages before WM_INITDIALOG
    return self->HandleMessage(message, wParam, lParam);
}

INT_PTR CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        RECT before{};
        ::GetWindowRect(m_hWnd, &before);
        const DWORD styleBefore = GetStyle();
        const BOOL result = OnInitDialog();
        CenterIfUnplaced(before, styleBefore);
        return result;
    }
    case WM_NCDESTROY: {
        // The window is gone: nothing may refer to it through the application.
        ::SetWindowLongPtrA(m_hWnd, DWLP_USER, 0);
        CWinApp* app = AfxGetApp();
        if (app && app->m_pMainWnd == this) app->m_pMainWnd = nullptr;
        Detach();
        return FALSE;
    }
    case WM_DPICHANGED:
        OnDpiChanged(LOWORD(wParam));
        return FALSE;
    default:
        break;
    }
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, result)) return FALSE;
    switch (message) {
    // These return their result directly rather than through DWLP_MSGRESULT.
    case WM_QUERYDRAGICON:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
        return static_cast<INT_PTR>(result);
    default:
        ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
}

void CDialog::CenterIfUnplaced(const RECT& before, DWORD styleBefore) {
    // Only a dialog that nothing has placed: hidden before and after
    // initialisation, top-level, not moved by it, and at (0, 0) in its template
    // without an alignment style of its own.
    if (!m_template || (styleBefore & WS_VISIBLE) || (GetStyle() & (WS_VISIBLE | WS_CHILD))) return;
    RECT now{};
    ::GetWindowRect(m_hWnd, &now);
    if (now.left != before.left || now.top != before.top) return;
    const TemplateHeader header = ReadTemplateHeader(m_template);
    if (header.x != 0 || header.y != 0 || (header.style & (DS_ABSALIGN | DS_CENTER | DS_CENTERMOUSE))) return;

    // Over the owner when it is visible and not minimised, otherwise in the work
    // area of the main window's monitor.
    HWND center = ::GetWindow(m_hWnd, GW_OWNER);
    if (center) {
        const LONG_PTR style = ::GetWindowLongPtrA(center, GWL_STYLE);
        if (!(style & WS_VISIBLE) || (style & WS_MINIMIZE)) center = nullptr;
    }
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    RECT centerRect{};
    if (center) {
        ::GetWindowRect(center, &centerRect);
        ::GetMonitorInfoA(::MonitorFromWindow(center, MONITOR_DEFAULTTONEAREST), &mi);
    } else {
        CWnd* mainWnd = AfxGetMainWnd();
        HWND monitorOf = mainWnd && mainWnd->m_hWnd ? mainWnd->m_hWnd : m_hWnd;
        ::GetMonitorInfoA(::MonitorFromWindow(monitorOf, MONITOR_DEFAULTTOPRIMARY), &mi);
        centerRect = mi.rcWork;
    }
    const RECT& area = mi.rcWork;
    const int width = now.right - now.left;
    const int height = now.bottom - now.top;
    const int left = CenteredStart(centerRect.left, centerRect.right, width, area.left, area.right);
    const int top = CenteredStart(centerRect.top, centerRect.bottom, height, area.top, area.bottom);
    ::SetWindowPos(m_hWnd, nullptr, left, top, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
