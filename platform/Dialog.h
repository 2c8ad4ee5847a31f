#pragma once
// Modal dialogs from templates, run by the framework's own modal loop so that
// every message passes the pre-translation chain before it is dispatched.

#include "DataExchange.h"
#include "Wnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Creates the dialog, runs its modal loop and destroys it; returns the end
    // code, or -1 when the window cannot be created or a quit message arrives.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    BOOL PreTranslateMessage(MSG* pMsg) override;
    virtual BOOL OnInitDialog();

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual void OnOK();
    virtual void OnCancel();
    // The window has met another DPI (Windows 10 1703 and later). Afterwards the
    // dialog manager rescales the frame, the controls and their fonts, always:
    // only what the dialog draws or sets itself is left to this.
    virtual void OnDpiChanged(UINT dpi);
    // Answers a help request with this dialog's context.
    LRESULT OnCommandHelp(WPARAM wParam, LPARAM lParam);
    bool OnCmdMsg(UINT nID, UINT nCode) override;

    DECLARE_MESSAGE_MAP()

private:
    // noexcept: an exception would end the process here rather than unwind
    // through the platform's code.
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CenterIfUnplaced(const RECT& before, DWORD styleBefore);

    static CDialog* s_creating;  // the dialog whose window is being created (one thread)

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    const BYTE* m_template = nullptr;
    bool m_continueModal = false;
    int m_nModalResult = -1;
};
