#include "OpenWebAddress.h"

#include <bit>

#include "Afx.h"

namespace {

using ShellExecuteAFn = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);

// The shell is loaded on the first request rather than at start-up: it is one
// of the costliest libraries to load, and the window needs none of it to show.
// Only the system directory is searched.
ShellExecuteAFn LoadShellExecute() {
    HMODULE shell = ::LoadLibraryExA("shell32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!shell) shell = ::LoadLibraryA("shell32.dll");  // Windows 7 without the search flags; a known DLL
    FARPROC proc = shell ? ::GetProcAddress(shell, "ShellExecuteA") : nullptr;
    return proc ? std::bit_cast<ShellExecuteAFn>(proc) : nullptr;
}

}  // namespace

void OpenWebAddress(const char* address) {
    static const ShellExecuteAFn shellExecute = LoadShellExecute();
    if (shellExecute) shellExecute(nullptr, "open", address, nullptr, nullptr, SW_SHOW);
}
