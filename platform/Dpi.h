#pragma once
// Per-monitor DPI where Windows has it (Windows 10 1607 and later), looked up
// at run time; elsewhere the system's own metrics, as before.

#include "Afx.h"

// The DPI of the window's monitor, or 0 where the platform cannot tell.
UINT WindowDpi(HWND hWnd);
// Whether icons at dpi have another size than LoadIcon gives: the size for
// the system DPI, which Windows fixes at sign-in.
bool IconSizeDiffersAt(UINT dpi);
// A system metric at dpi; the system's own value when dpi is 0 or unknown to the platform.
int SystemMetricForDpi(int index, UINT dpi);
// The icon resource at exactly size by size pixels, made from the smallest
// image of its group that is at least that large (the largest when none is):
// scaled down, an image stays sharp. The caller destroys it; nullptr on failure.
HICON LoadIconOfSize(HINSTANCE module, UINT id, int size);

// For tests: the window DPI that every later WindowDpi answers, from fn
// instead of the platform (nullptr gives the platform's back).
using WindowDpiFn = UINT(WINAPI*)(HWND);
void UseWindowDpi(WindowDpiFn fn);
