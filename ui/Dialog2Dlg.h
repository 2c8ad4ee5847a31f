#pragma once
// The program's dialogs: the main window with the channel list, the About box
// and the Help box.

#include "ChannelLauncher.h"
#include "Dialog.h"
#include "ListBox.h"
#include "resource.h"

class CDialog2Dlg : public CDialog {
public:
    explicit CDialog2Dlg(CWnd* pParent = nullptr);
    ~CDialog2Dlg() override = default;

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
    void OnHelpButton();
    void OnAboutButton();
    void OnExitButton();
    void OnChannelsButton();

    DECLARE_MESSAGE_MAP()

    CListBox m_channelList;
    HICON m_hIcon;
    ChannelLauncher m_launcher;  // one per run: the main window exists once
};

class CAboutDlg : public CDialog {
public:
    CAboutDlg();
    ~CAboutDlg() override = default;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnWebsite();

    DECLARE_MESSAGE_MAP()
};

class CHelpDlg : public CDialog {
public:
    CHelpDlg();
    ~CHelpDlg() override = default;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    DECLARE_MESSAGE_MAP()
};
