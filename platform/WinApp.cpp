#include "WinApp.h"

#include <vector>

namespace {
CWinApp* g_app = nullptr;
}

BOOL CWinThread::InitInstance() { return FALSE; }

int CWinThread::Run() {
    MSG msg{};
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return ExitInstance();
}

int CWinThread::ExitInstance() { return 0; }

CWinApp::CWinApp(LPCSTR lpszAppName)
    : m_appName(lpszAppName ? lpszAppName : ""), m_appNameGiven(lpszAppName != nullptr) {
    g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}

CWinApp* AfxGetApp() { return g_app; }

BOOL CWinApp::InitApplication() { return TRUE; }

HICON CWinApp::LoadIcon(UINT nIDResource) const { return ::LoadIconA(m_hInstance, MAKEINTRESOURCEA(nIDResource)); }

void CWinApp::InitModule(HINSTANCE hInstance) {
    m_hInstance = hInstance;
    std::vector<char> path(MAX_PATH);
    DWORD n = 0;
    while ((n = ::GetModuleFileNameA(hInstance, path.data(), static_cast<DWORD>(path.size()))) == path.size())
        path.resize(path.size() * 2);
    const std::string full(path.data(), n);
    const std::size_t slash = full.find_last_of("\\/");
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::size_t dot = full.find_last_of('.');
    if (dot == std::string::npos || dot < nameStart) dot = full.size();
    if (!m_appNameGiven) m_appName = full.substr(nameStart, dot - nameStart);
    m_helpFilePath = full.substr(0, dot) + ".HLP";
}

void CWinApp::WinHelpInternal(DWORD_PTR dwData, UINT nCmd) {
    CWnd* mainWnd = AfxGetMainWnd();
    HWND owner = mainWnd ? mainWnd->m_hWnd : nullptr;
    if (!::WinHelpA(owner, m_helpFilePath.c_str(), nCmd, dwData)) AfxMessageBox(AFX_IDP_FAILED_TO_LAUNCH_HELP);
}

void CWinApp::OnHelp() {
    if (CWnd* mainWnd = AfxGetMainWnd()) mainWnd->OnHelp();
}

const AFX_MSGMAP* CWinApp::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP* CWinApp::GetThisMessageMap() {
    using ThisClass = CWinApp;
    // clang-format off
    static const AFX_MSGMAP_ENTRY entries[] = {
        ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
        {0, 0, 0, 0, nullptr},
    };
    // clang-format on
    static const AFX_MSGMAP map = {&CCmdTarget::GetThisMessageMap, entries};
    return &map;
}

int AfxMessageBox(UINT nIDPrompt, UINT nType) {
    CWinApp* app = AfxGetApp();
    HINSTANCE module = app ? app->m_hInstance : ::GetModuleHandleA(nullptr);
    char text[256] = {};
    ::LoadStringA(module, nIDPrompt, text, static_cast<int>(sizeof(text)));
    CWnd* mainWnd = AfxGetMainWnd();
    return ::MessageBoxA(mainWnd ? mainWnd->m_hWnd : nullptr, text, app ? app->m_appName.c_str() : nullptr, nType);
}
