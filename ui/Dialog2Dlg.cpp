#include "Dialog2Dlg.h"

#include <cstdlib>

#include "IconPlacement.h"
#include "OpenWebAddress.h"
#include "PaintDC.h"
#include "Menu.h"
#include "WebAddresses.h"
#include "WinApp.h"

// ---- Main window ------------------------------------------------------------

CDialog2Dlg::CDialog2Dlg(CWnd* pParent) : CDialog(IDD_MAIN, pParent) {
    CWinApp* app = AfxGetApp();
    m_hIcon = app ? app->LoadIcon(IDR_MAINFRAME) : nullptr;
}

void CDialog2Dlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CHANNEL_LIST, m_channelList);
}

BEGIN_MESSAGE_MAP(CDialog2Dlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(IDC_HELP_BUTTON, &CDialog2Dlg::OnHelpButton)
    ON_BN_CLICKED(IDC_ABOUT, &CDialog2Dlg::OnAboutButton)
    ON_BN_CLICKED(IDC_EXIT, &CDialog2Dlg::OnExitButton)
    ON_BN_CLICKED(IDC_CHANNELS, &CDialog2Dlg::OnChannelsButton)
END_MESSAGE_MAP()

BOOL CDialog2Dlg::OnInitDialog() {
    CDialog::OnInitDialog();

    // The About command at the end of the system menu, when there is a menu and a caption.
    if (CMenu* sysMenu = GetSystemMenu(FALSE)) {
        char caption[64] = {};
        CWinApp* app = AfxGetApp();
        if (::LoadStringA(app ? app->m_hInstance : nullptr, IDS_ABOUTBOX, caption, sizeof(caption)) > 0) {
            sysMenu->AppendMenu(MF_SEPARATOR);
            sysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, caption);
        }
    }

    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    FillChannelList();
    return TRUE;  // the focus goes to the first tab stop, the list
}

void CDialog2Dlg::FillChannelList() {
    for (const ChannelEntry& row : ChannelTable) m_channelList.AddString(row.displayName);
}

BOOL CDialog2Dlg::PreTranslateMessage(MSG* pMsg) {
    m_launcher.CheckSelection(m_channelList, OpenWebAddress);
    return CDialog::PreTranslateMessage(pMsg);
}

void CDialog2Dlg::OnSysCommand(UINT nID, LPARAM lParam) {
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    } else {
        CDialog::OnSysCommand(nID, lParam);
    }
}

void CDialog2Dlg::OnPaint() {
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    const int cxIcon = ::GetSystemMetrics(SM_CXICON);
    const int cyIcon = ::GetSystemMetrics(SM_CYICON);
    RECT rect{};
    GetClientRect(&rect);
    dc.DrawIcon(MinimisedIconOffset(rect.right - rect.left, cxIcon),
                MinimisedIconOffset(rect.bottom - rect.top, cyIcon), m_hIcon);
}

HCURSOR CDialog2Dlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

void CDialog2Dlg::OnHelpButton() {
    CHelpDlg dlgHelp;
    dlgHelp.DoModal();
}

void CDialog2Dlg::OnAboutButton() {
    CAboutDlg dlgAbout;
    dlgAbout.DoModal();
}

void CDialog2Dlg::OnExitButton() {
    OpenWebAddress(kProductPage);
    // Ends the process from inside the modal loop: static destructors run, the
    // dialog's own end does not.
    std::exit(0);
}

void CDialog2Dlg::OnChannelsButton() { OpenWebAddress(kChannelPortalHome); }

// ---- About box --------------------------------------------------------------

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

void CAboutDlg::DoDataExchange(CDataExchange* pDX) { CDialog::DoDataExchange(pDX); }

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
    ON_BN_CLICKED(IDC_WEBSITE, &CAboutDlg::OnWebsite)
END_MESSAGE_MAP()

void CAboutDlg::OnWebsite() { OpenWebAddress(kMakerHomePage); }

// ---- Help box ---------------------------------------------------------------

CHelpDlg::CHelpDlg() : CDialog(IDD_HELP) {}

void CHelpDlg::DoDataExchange(CDataExchange* pDX) { CDialog::DoDataExchange(pDX); }

BEGIN_MESSAGE_MAP(CHelpDlg, CDialog)
END_MESSAGE_MAP()
