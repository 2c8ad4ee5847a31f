#pragma once
// A window object: the handle it wraps, message-map dispatch, and the few
// window operations the program uses.

#include "CmdTarget.h"
#include "Menu.h"

class CWnd : public CCmdTarget {
public:
    CWnd();
    ~CWnd() override;

    HWND m_hWnd = nullptr;

    // The framework object attached to hWnd, or nullptr.
    static CWnd* FromHandlePermanent(HWND hWnd);
    void Attach(HWND hWnd);
    void Detach();

    // Offered each message before dispatch; true claims it. Claims nothing here.
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL IsIconic() const;
    void GetClientRect(RECT* rect) const;
    DWORD GetStyle() const;
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    HWND GetDlgItem(int nID) const;
    // The window's system menu, or nullptr when the platform gives none.
    CMenu* GetSystemMenu(BOOL bRevert);

    // Asks the windows with the capture, the focus and the main window's last
    // active pop-up, each up through its parents, for help; the first that
    // answers shows it. ID_DEFAULT_HELP when none does.
    void OnHelp();

protected:
    // Dispatches a message through the message maps; false leaves it to the
    // platform's default processing.
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Leaves the message in hand to the platform's default processing.
    void Default();

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    BOOL OnHelpInfo(HELPINFO* pHelpInfo);

    DECLARE_MESSAGE_MAP()

private:
    bool m_defaultRequested = false;
    CMenu m_systemMenu;
    CWnd* m_nextPermanent = nullptr;  // the live framework windows form a list through this
};

// The application's main window, or nullptr.
CWnd* AfxGetMainWnd();
