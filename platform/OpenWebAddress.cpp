#include "OpenWebAddress.h"

#include <bit>

#include "Afx.h"

#include <objbase.h>

namespace {

using ShellExecuteAFn = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
using CoInitializeExFn = HRESULT(WINAPI*)(LPVOID, DWORD);

// Only the system directory is searched. Windows 7 without the search flags
// fails the first call; both libraries are known DLLs, found there anyway.
FARPROC SystemProc(const char* library, const char* name) {
    HMODULE module = ::LoadLibraryExA(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module) module = ::LoadLibraryA(library);
    return module ? ::GetProcAddress(module, name) : nullptr;
}

// COM and the shell are loaded on the first request rather than at start-up:
// they are the costliest libraries to load, and the window needs neither to
// show. The shell expects a single-threaded apartment before ShellExecute.
ShellExecuteAFn LoadShellExecute() {
    if (FARPROC init = SystemProc("ole32.dll", "CoInitializeEx"))
        std::bit_cast<CoInitializeExFn>(init)(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    FARPROC proc = SystemProc("shell32.dll", "ShellExecuteA");
    return proc ? std::bit_cast<ShellExecuteAFn>(proc) : nullptr;
}

}  // namespace

void OpenWebAddress(const char* address) {
    static const ShellExecuteAFn shellExecute = LoadShellExecute();
    if (shellExecute) shellExecute(nullptr, "open", address, nullptr, nullptr, SW_SHOW);
}
