#include "WinApp.h"

#include <cstring>

namespace {

CWinApp* g_app = nullptr;

// The longest path Windows gives a module, in characters, with its terminator.
constexpr DWORD kMaxModulePath = 32768;
// The application's name; there is one application.
char g_appName[MAX_PATH];

}  // namespace

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

CWinApp::CWinApp(LPCSTR lpszAppName) {
    if (lpszAppName) m_pszAppName = ::lstrcpynA(g_appName, lpszAppName, MAX_PATH);
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
    // The path goes straight into the help file's buffer, which holds the
    // longest module path with room to spare for the extension. It lives on the
    // heap, so the image carries no room for it; it lasts for the whole run.
    char* const full = static_cast<char*>(::HeapAlloc(::GetProcessHeap(), 0, kMaxModulePath + 4));
    if (!full) return;
    const DWORD n = ::GetModuleFileNameA(hInstance, full, kMaxModulePath);
    const std::size_t length = n < kMaxModulePath ? n : 0;  // a cut path is no path
    full[length] = '\0';
    std::size_t nameStart = length;
    while (nameStart > 0 && full[nameStart - 1] != '\\' && full[nameStart - 1] != '/') --nameStart;
    std::size_t dot = length;
    while (dot > nameStart && full[dot - 1] != '.') --dot;
    dot = dot > nameStart ? dot - 1 : length;
    if (m_pszAppName != g_appName) {  // no name given
        const std::size_t nameLength = dot - nameStart < MAX_PATH - 1 ? dot - nameStart : MAX_PATH - 1;
        std::memcpy(g_appName, full + nameStart, nameLength);
        g_appName[nameLength] = '\0';
        m_pszAppName = g_appName;
    }
    std::memcpy(full + dot, ".HLP", 5);
    m_pszHelpFilePath = full;
}

void CWinApp::WinHelpInternal(DWORD_PTR dwData, UINT nCmd) {
    CWnd* mainWnd = AfxGetMainWnd();
    HWND owner = mainWnd ? mainWnd->m_hWnd : nullptr;
    if (!::WinHelpA(owner, m_pszHelpFilePath, nCmd, dwData)) AfxMessageBox(AFX_IDP_FAILED_TO_LAUNCH_HELP);
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
    return ::MessageBoxA(mainWnd ? mainWnd->m_hWnd : nullptr, text, app ? app->m_pszAppName : nullptr, nType);
}
