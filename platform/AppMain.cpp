// The program's entry point: hardens the process, then hands over to the framework.

#include <bit>

#include <objbase.h>

#include "WinApp.h"

namespace {

// Lets DLLs load only from the system directory, so none planted beside the
// executable is ever picked up. Looked up at run time: Windows 7 before its
// KB2533623 update lacks the function.
void RestrictDllSearch() {
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    FARPROC proc = kernel ? ::GetProcAddress(kernel, "SetDefaultDllDirectories") : nullptr;
    if (proc) std::bit_cast<SetDefaultDllDirectoriesFn>(proc)(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace

int AfxWinMain(HINSTANCE hInstance) {
    RestrictDllSearch();
    // The shell expects a single-threaded apartment before ShellExecute.
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    CWinApp* app = AfxGetApp();
    if (!app) return -1;
    app->InitModule(hInstance);
    if (!app->InitApplication() || !app->InitInstance()) {
        if (app->m_pMainWnd && app->m_pMainWnd->m_hWnd) ::DestroyWindow(app->m_pMainWnd->m_hWnd);
        return app->ExitInstance();
    }
    return app->Run();
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) { return AfxWinMain(hInstance); }
