#pragma once
// Helpers for the Windows tests: the record of opened addresses kept by the
// stand-in browser, running code on the dialog's thread, and real input.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// The addresses the shell was asked to open, as the stand-in browser recorded them.
class OpenLog {
public:
    OpenLog();
    void Clear();
    std::vector<std::string> Lines() const;
    // Waits until at least count addresses were recorded; false on time-out.
    bool WaitForCount(std::size_t count, DWORD timeoutMs = 15000) const;
    // Waits long enough for an address asked for just now to have arrived.
    static void Settle();

private:
    std::string m_path;
};

// A window on the calling thread that runs functions sent to it from other
// threads; sent messages never pass through a modal loop's pre-translation.
class UiInvoker {
public:
    UiInvoker();
    ~UiInvoker();
    UiInvoker(const UiInvoker&) = delete;
    UiInvoker& operator=(const UiInvoker&) = delete;
    void Run(const std::function<void()>& fn) const;

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_hWnd;
};

// Real input through SendInput.
void ClickAt(POINT screen);
void PressKey(WORD vk);
void PressKeyWith(WORD modifier, WORD vk);
// Clicks the centre of a list box item and waits (a second at most) for the
// click to select it.
void ClickListItem(HWND list, int item);

// Waits until predicate holds; false on time-out.
bool WaitUntil(const std::function<bool()>& predicate, DWORD timeoutMs = 10000);
