#pragma once
// The framework's common definitions over the Win32 headers.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

// Command and message numbers the framework itself uses.
inline constexpr UINT ID_HELP = 0xE146;              // F1: help for the active dialog
inline constexpr UINT ID_DEFAULT_HELP = 0xE147;      // help when no window has a context
inline constexpr UINT WM_COMMANDHELP = 0x0365;       // asks a window for its help context
inline constexpr UINT WM_KICKIDLE = 0x036A;          // the framework's idle message; never dispatched
inline constexpr DWORD HID_BASE_RESOURCE = 0x20000;  // help context = this + template id
// The framework's own message text, kept in the program's string table.
inline constexpr UINT AFX_IDP_FAILED_TO_LAUNCH_HELP = 0xF107;

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif
