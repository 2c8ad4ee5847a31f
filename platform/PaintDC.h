#pragma once
// A paint context for WM_PAINT: BeginPaint now, EndPaint when it goes.

#include "Wnd.h"

class CPaintDC {
public:
    explicit CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd) { m_hDC = ::BeginPaint(m_hWnd, &m_ps); }
    ~CPaintDC() { ::EndPaint(m_hWnd, &m_ps); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }
    // Draws a square icon at size pixels.
    BOOL DrawIcon(int x, int y, HICON hIcon, int size) {
        return ::DrawIconEx(m_hDC, x, y, hIcon, size, size, 0, nullptr, DI_NORMAL);
    }

    HDC m_hDC = nullptr;
    PAINTSTRUCT m_ps{};

private:
    HWND m_hWnd;
};
