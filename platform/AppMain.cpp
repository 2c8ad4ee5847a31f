// The program's entry point: hardens the process, then hands over to the framework.

#include <bit>

#include <objbase.h>

#include "WinApp.h"

namespace {

// Lets DLLs load only from the system directory, so none planted beside the
// executable is ever picked up. The loader calls the image's TLS callbacks once
// its imports are bound and before the C runtime starts, so before any static
// constructor: the run-time libraries' constructors load DLLs too (the stack
// protector seeds its guard through the system's crypto provider, which loads
// the provider's DLLs), and those come from the system directory as well. The
// function is looked up at run time: Windows 7 before its KB2533623 update
// lacks it, and there the system's default search stays.
void NTAPI RestrictDllSearchAtLoad(PVOID, DWORD reason, PVOID) {
    if (reason != DLL_PROCESS_ATTACH) return;
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    FARPROC proc = kernel ? ::GetProcAddress(kernel, "SetDefaultDllDirectories") : nullptr;
    if (proc) std::bit_cast<SetDefaultDllDirectoriesFn>(proc)(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace

// The C runtime's TLS directory lists the callbacks placed between its
// .CRT$XLA and .CRT$XLZ markers, and the linker orders those sections by name.
// Nothing else in the image uses .CRT$XLB, so this callback is listed, and
// called, before the runtime's own (.CRT$XLC onwards); the executable checks
// read the image's TLS directory to confirm it.
extern "C" __attribute__((section(".CRT$XLB"), used)) const PIMAGE_TLS_CALLBACK orvennaTlsRestrictDllSearch =
    RestrictDllSearchAtLoad;

int AfxWinMain(HINSTANCE hInstance) {
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
