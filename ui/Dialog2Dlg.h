#pragma once
// The program's dialogs: the main window with the channel list, the About box
// and the Help box.

#include "AccessibleName.h"
#include "ChannelLauncher.h"
#include "Dialog.h"
#include "ListBox.h"
#include "OwnedIcon.h"
#include "resource.h"

class CDialog2Dlg : public CDialog {
public:
    explicit CDialog2Dlg(CWnd* pParent = nullptr);
    ~CDialog2Dlg() override;

    BOOL PreTranslateMessage(MSG* pMsg) override;

    // The launcher's state, for tests: the channel opened last.
    std::int32_t LastOpened() const { return m_launcher.LastOpened(); }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    void FillChannelList();
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnDpiChanged(UINT dpi) override;
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam);
    // The icon the window shows large: the one made for its DPI, once there is one.
    HICON BigIcon() const { return m_bigIcon.Get() ? m_bigIcon.Get() : m_hIcon; }
    void OnHelpButton();
    void OnAboutButton();
    void OnExitButton();
    void OnChannelsButton();

    DECLARE_MESSAGE_MAP()

    CListBox m_channelList;
    HICON m_hIcon;
    COwnedIcon m_bigIcon;  // made for the window's DPI when it differs from the system's
    COwnedIcon m_smallIcon;
    CAccessibleName m_listName;
    ChannelLauncher m_launcher;  // one per run: the main window exists once
};

class CAboutDlg : public CDialog {
public:
    CAboutDlg();
    ~CAboutDlg() override = default;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnWebsite();
    void OnDpiChanged(UINT dpi) override;
    LRESULT OnTakeIconForDpi(WPARAM wParam, LPARAM lParam);
    void TakeIconForDpi(UINT dpi);

    DECLARE_MESSAGE_MAP()

    COwnedIcon m_icon;  // made for the box's DPI when it differs from the system's
    UINT m_dpi = 0;     // the DPI of the last change
};

class CHelpDlg : public CDialog {
public:
    CHelpDlg();
    ~CHelpDlg() override = default;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    DECLARE_MESSAGE_MAP()
};
