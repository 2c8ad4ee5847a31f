#include <cstdio>
#include "ProbeDialog.h"

#include "WinTestSupport.h"

BEGIN_MESSAGE_MAP(CRecordingDlg, CDialog)
    ON_MESSAGE(WM_DESTROY, &CRecordingDlg::OnDestroy)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CProbeDlg, CRecordingDlg)
    ON_MESSAGE(kProbe, &CProbeDlg::OnProbe)
    ON_MESSAGE(WM_KICKIDLE, &CProbeDlg::OnKickIdle)
    ON_COMMAND(kOpenSecondary, &CProbeDlg::OnOpenSecondary)
    ON_COMMAND(kOwnerCommand, &CProbeDlg::OnOwnerCommand)
    ON_BN_CLICKED(IDC_TEST_BUTTON, &CProbeDlg::OnButton)
END_MESSAGE_MAP()

bool WaitForWindow(const std::atomic<HWND>& window) {
    if (!WaitUntil([&] {
            HWND h = window.load();
            return h && ::IsWindowVisible(h);
        })) {
        fprintf(stderr, "window %p never became visible\n", static_cast<void*>(window.load()));
        return false;
    }
    // In the foreground, so that real input goes to it. Without a window
    // manager activation can lag behind; ask for it if it does.
    HWND h = window.load();
    if (WaitUntil([&] { return ::GetForegroundWindow() == h; }, 1000)) return true;
    ::SetForegroundWindow(h);
    if (WaitUntil([&] { return ::GetForegroundWindow() == h; }, 3000)) return true;
    fprintf(stderr, "window %p visible %d never came to the foreground (%p is)\n", static_cast<void*>(h),
            ::IsWindowVisible(h), static_cast<void*>(::GetForegroundWindow()));
    return false;
}

void CancelIfOpen(HWND hWnd) {
    if (hWnd && ::IsWindow(hWnd)) ::PostMessageA(hWnd, WM_COMMAND, IDCANCEL, 0);
}

void DiscardPendingInput() {
    ::Sleep(50);  // input sent just before may still be on its way
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE) ||
           ::PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
    }
}
