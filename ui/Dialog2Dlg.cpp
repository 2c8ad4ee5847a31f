#include "Dialog2Dlg.h"

#include <cstdlib>

#include "Dpi.h"
#include "IconPlacement.h"
#include "OpenWebAddress.h"
#include "PaintDC.h"
#include "Menu.h"
#include "WebAddresses.h"
#include "WinApp.h"

namespace {

// Names the list for screen readers once the window has painted: a timer
// message comes only when no paint is pending, and loading the annotation's
// library then costs the first paint nothing. The modal loop hands it over.
constexpr UINT_PTR kNameListTimer = 1;

HINSTANCE AppModule() {
    CWinApp* app = AfxGetApp();
    return app ? app->m_hInstance : nullptr;
}

// The application icon, square, at the size that the metric gives at dpi.
HICON AppIconForDpi(int metric, UINT dpi) {
    return LoadIconOfSize(AppModule(), IDR_MAINFRAME, SystemMetricForDpi(metric, dpi));
}

}  // namespace

// ---- Main window ------------------------------------------------------------

CDialog2Dlg::CDialog2Dlg(CWnd* pParent) : CDialog(IDD_MAIN, pParent) {
    CWinApp* app = AfxGetApp();
    m_hIcon = app ? app->LoadIcon(IDR_MAINFRAME) : nullptr;
}

CDialog2Dlg::~CDialog2Dlg() = default;

void CDialog2Dlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CHANNEL_LIST, m_channelList);
}

BEGIN_MESSAGE_MAP(CDialog2Dlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_MESSAGE(WM_DESTROY, &CDialog2Dlg::OnDestroy)
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
    ::SetTimer(m_hWnd, kNameListTimer, 0, nullptr);
    return TRUE;  // the focus goes to the first tab stop, the list
}

void CDialog2Dlg::FillChannelList() {
    for (const ChannelEntry& row : ChannelTable) m_channelList.AddString(row.displayName);
}

BOOL CDialog2Dlg::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_TIMER && pMsg->hwnd == m_hWnd && pMsg->wParam == kNameListTimer) {
        OnNameListTimer();
        return TRUE;
    }
    m_launcher.CheckSelection(m_channelList, OpenWebAddress);
    return CDialog::PreTranslateMessage(pMsg);
}

void CDialog2Dlg::OnSysCommand(UINT nID, LPARAM lParam) {
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        OnAboutButton();
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
    // At the size for the window's own monitor; icons are square.
    const int icon = SystemMetricForDpi(SM_CXICON, WindowDpi(m_hWnd));
    RECT rect{};
    GetClientRect(&rect);
    dc.DrawIcon(MinimisedIconOffset(rect.right - rect.left, icon), MinimisedIconOffset(rect.bottom - rect.top, icon),
                BigIcon(), icon);
}

HCURSOR CDialog2Dlg::OnQueryDragIcon() { return static_cast<HCURSOR>(BigIcon()); }

void CDialog2Dlg::OnDpiChanged(UINT dpi) {
    // Each new icon is set before the one it replaces is destroyed.
    if (HICON big = AppIconForDpi(SM_CXICON, dpi)) {
        SetIcon(big, TRUE);
        m_bigIcon.Replace(big);
    }
    if (HICON small = AppIconForDpi(SM_CXSMICON, dpi)) {
        SetIcon(small, FALSE);
        m_smallIcon.Replace(small);
    }
}

void CDialog2Dlg::OnNameListTimer() {
    if (!::KillTimer(m_hWnd, kNameListTimer)) return;  // once, however often the message comes
    wchar_t name[64];
    if (::LoadStringW(AppModule(), IDS_CHANNEL_LIST_NAME, name, 64) > 0) m_listName.Set(m_channelList.m_hWnd, name);
}

LRESULT CDialog2Dlg::OnDestroy(WPARAM, LPARAM) {
    m_listName.Clear();  // the children still exist here
    Default();
    return 0;
}

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

void CAboutDlg::OnDpiChanged(UINT dpi) {
    // The icon control, the one child that answers with an icon, shows the
    // application icon at the new DPI's size.
    for (HWND c = ::GetWindow(m_hWnd, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        if (!::SendMessageA(c, STM_GETICON, 0, 0)) continue;
        if (HICON icon = AppIconForDpi(SM_CXICON, dpi)) {
            ::SendMessageA(c, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
            m_icon.Replace(icon);
        }
        break;
    }
}

// ---- Help box ---------------------------------------------------------------

CHelpDlg::CHelpDlg() : CDialog(IDD_HELP) {}

void CHelpDlg::DoDataExchange(CDataExchange* pDX) { CDialog::DoDataExchange(pDX); }

BEGIN_MESSAGE_MAP(CHelpDlg, CDialog)
END_MESSAGE_MAP()
