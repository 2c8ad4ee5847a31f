#include "OpenWebAddress.h"

#include <bit>

namespace {

ShellExecuteExAFn g_shellExecuteEx = nullptr;

// The shell is loaded on the first request rather than at start-up: it is one
// of the costliest libraries to load, and the window needs none of it to show.
// Only the system directory is searched.
ShellExecuteExAFn LoadShellExecuteEx() {
    HMODULE shell = ::LoadLibraryExA("shell32", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!shell) shell = ::LoadLibraryA("shell32");  // Windows 7 without the search flags; a known DLL
    FARPROC proc = shell ? ::GetProcAddress(shell, "ShellExecuteExA") : nullptr;
    return proc ? std::bit_cast<ShellExecuteExAFn>(proc) : nullptr;
}

}  // namespace

void OpenWebAddress(const char* address) {
    if (!g_shellExecuteEx) g_shellExecuteEx = LoadShellExecuteEx();
    if (!g_shellExecuteEx) return;
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOASYNC;
    info.lpVerb = "open";
    info.lpFile = address;
    info.nShow = SW_SHOW;
    g_shellExecuteEx(&info);
}

void UseShellExecuteEx(ShellExecuteExAFn shellExecuteEx) { g_shellExecuteEx = shellExecuteEx; }
