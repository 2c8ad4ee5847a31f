#include "Dpi.h"

#include <bit>
#include <cstring>

namespace {

// Looked up at each use: the callers run seldom (a DPI change, a minimised
// window's paint), and nothing needs to be kept.
FARPROC User32Proc(const char* name) { return ::GetProcAddress(::GetModuleHandleA("user32"), name); }

const BYTE* LockedResource(HINSTANCE module, UINT id, UINT type, DWORD* size) {
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(type));
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    *size = loaded ? ::SizeofResource(module, found) : 0;
    return loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
}

// An icon group resource: a 6-byte header, then one 14-byte entry per image
// (its width first, 0 for 256, and its RT_ICON id last).
constexpr DWORD kGroupHeader = 6;
constexpr DWORD kGroupEntry = 14;

WindowDpiFn g_windowDpi = nullptr;

}  // namespace

UINT WindowDpi(HWND hWnd) {
    const auto getDpiForWindow = g_windowDpi ? g_windowDpi : std::bit_cast<WindowDpiFn>(User32Proc("GetDpiForWindow"));
    return getDpiForWindow ? getDpiForWindow(hWnd) : 0;
}

void UseWindowDpi(WindowDpiFn fn) { g_windowDpi = fn; }

bool IconSizeDiffersAt(UINT dpi) { return SystemMetricForDpi(SM_CXICON, dpi) != ::GetSystemMetrics(SM_CXICON); }

int SystemMetricForDpi(int index, UINT dpi) {
    using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
    const auto forDpi = std::bit_cast<GetSystemMetricsForDpiFn>(User32Proc("GetSystemMetricsForDpi"));
    return forDpi && dpi ? forDpi(index, dpi) : ::GetSystemMetrics(index);
}

HICON LoadIconOfSize(HINSTANCE module, UINT id, int size) {
    DWORD bytes = 0;
    const BYTE* group = LockedResource(module, id, 14, &bytes);  // RT_GROUP_ICON
    // The smallest image at least size wide sorts first, the largest narrower one after all those.
    DWORD best = ~0u;
    WORD chosenId = 0;
    for (DWORD at = kGroupHeader; group && at + kGroupEntry <= bytes; at += kGroupEntry) {
        const DWORD width = group[at] ? group[at] : 256;
        const DWORD rank = width >= static_cast<DWORD>(size) ? width : 0x10000 - width;
        if (rank < best) {
            best = rank;
            std::memcpy(&chosenId, group + at + 12, 2);
        }
    }
    const BYTE* image = chosenId ? LockedResource(module, chosenId, 3, &bytes) : nullptr;  // RT_ICON
    return image ? ::CreateIconFromResourceEx(const_cast<BYTE*>(image), bytes, TRUE, 0x00030000, size, size,
                                              LR_DEFAULTCOLOR)
                 : nullptr;
}
