// The baseline for start-up and memory: the program's own window made with plain
// Win32 calls. The program's template, icon and manifest, the same COM
// apartment, the 359 names added with LB_ADDSTRING, the list named for screen
// readers and the window centred in the work area in WM_INITDIALOG; no
// framework and nothing of the C++ runtime beyond the C library.

#include <windows.h>

#include <oleacc.h>

#include "ChannelTable.h"
#include "resource.h"

namespace {

const GUID kClsidAccPropServices = {0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
const GUID kIidAccPropServices = {0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
const GUID kPropIdAccName = {0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};
IAccPropServices* g_annotation = nullptr;

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
        wchar_t name[64];
        if (::LoadStringW(::GetModuleHandleA(nullptr), IDS_CHANNEL_LIST_NAME, name, 64) > 0 &&
            SUCCEEDED(::CoCreateInstance(kClsidAccPropServices, nullptr, CLSCTX_INPROC_SERVER, kIidAccPropServices,
                                         reinterpret_cast<void**>(&g_annotation))))
            g_annotation->SetHwndPropStr(list, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, kPropIdAccName, name);
        CenterInWorkArea(dialog);
        return TRUE;
    }
    case WM_DESTROY:
        if (g_annotation) {
            g_annotation->ClearHwndProps(::GetDlgItem(dialog, IDC_CHANNEL_LIST), static_cast<DWORD>(OBJID_CLIENT),
                                         CHILDID_SELF, &kPropIdAccName, 1);
            g_annotation->Release();
        }
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) ::EndDialog(dialog, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    ::DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, &SameWindowProc, 0);
    return 0;
}
