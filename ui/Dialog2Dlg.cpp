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

// Posted by the About box on a DPI change: its icon is set once the dialog
// manager has rescaled the controls.
constexpr UINT kTakeIconForDpi = WM_APP + 1;

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
    // A window that opens on a monitor at another scale than the system's gets
    // no WM_DPICHANGED, only its DPI: its icons are taken for that DPI here.
    if (const UINT dpi = WindowDpi(m_hWnd); IconSizeDiffersAt(dpi)) OnDpiChanged(dpi);
    FillChannelList();
    // Named before the window shows: a screen reader reads the list as soon as
    // it takes the focus, and hears of no name that comes later.
    wchar_t name[64];
    if (::LoadStringW(AppModule(), IDS_CHANNEL_LIST_NAME, name, 64) > 0) m_listName.Set(m_channelList.m_hWnd, name);
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
    ON_MESSAGE(kTakeIconForDpi, &CAboutDlg::OnTakeIconForDpi)
END_MESSAGE_MAP()

BOOL CAboutDlg::OnInitDialog() {
    const BOOL result = CDialog::OnInitDialog();
    // Over a main window on a monitor at another scale than the system's.
    if (const UINT dpi = WindowDpi(m_hWnd); IconSizeDiffersAt(dpi)) TakeIconForDpi(dpi);
    return result;
}

void CAboutDlg::OnWebsite() { OpenWebAddress(kMakerHomePage); }

void CAboutDlg::OnDpiChanged(UINT dpi) {
    // The icon control resizes itself to its icon, so the new one is set after
    // the dialog manager has rescaled the controls, which follows this call.
    m_dpi = dpi;
    ::PostMessageA(m_hWnd, kTakeIconForDpi, 0, 0);
}

LRESULT CAboutDlg::OnTakeIconForDpi(WPARAM, LPARAM) {
    if (m_dpi) TakeIconForDpi(m_dpi);  // the DPI of the last change, whoever posted this
    return 0;
}

void CAboutDlg::TakeIconForDpi(UINT dpi) {
    // The icon control, the one child that answers with an icon, shows the
    // application icon at dpi's size.
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
