// The baseline for start-up and memory: the program's own window made with plain
// Win32 calls. The program's template, icon and manifest, the 359 names added
// with LB_ADDSTRING, centred in the work area in WM_INITDIALOG; no framework and
// nothing of the C++ runtime beyond the C library.

#include <windows.h>

#include "ChannelTable.h"
#include "resource.h"

namespace {

void CenterInWorkArea(HWND dialog) {
    RECT window{}, work{};
    ::GetWindowRect(dialog, &window);
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int left = work.left + (work.right - work.left - (window.right - window.left)) / 2;
    const int top = work.top + (work.bottom - work.top - (window.bottom - window.top)) / 2;
    ::SetWindowPos(dialog, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK SameWindowProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: {
        HICON icon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
        ::SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        ::SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
        HWND list = ::GetDlgItem(dialog, IDC_CHANNEL_LIST);
        for (const ChannelEntry& row : ChannelTable)
            ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.displayName));
        CenterInWorkArea(dialog);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) ::EndDialog(dialog, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    ::DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, &SameWindowProc, 0);
    return 0;
}
