#include "WinApp.h"

#include <cstring>

namespace {

CWinApp* g_app = nullptr;

// The longest path Windows gives a module, in characters, with its terminator.
constexpr DWORD kMaxModulePath = 32768;
// The application's name; there is one application.
char g_appName[MAX_PATH];
// The executable's path, then the help file's: room for the longest module path
// and the extension. Static storage needs no allocation that could fail; placed
// in .bss by name, because per-variable data sections would otherwise carry
// its 32 KiB of zeros in the file. Only the pages the path touches are used.
__attribute__((section(".bss"))) char g_helpFilePath[kMaxModulePath + 4];

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
    char* const full = g_helpFilePath;
    const DWORD n = ::GetModuleFileNameA(hInstance, full, kMaxModulePath);
    const std::size_t length = n < kMaxModulePath ? n : 0;  // a cut path is no path
    full[length] = '\0';
    // Walked by characters: in a double-byte code page the second byte of a
    // character may be 0x5C or 0x2E, which is no separator and no dot.
    std::size_t nameStart = 0, dot = length;
    for (const char* p = full; *p; p = ::CharNextA(p)) {
        const std::size_t at = static_cast<std::size_t>(p - full);
        if (*p == '\\' || *p == '/') {
            nameStart = at + 1;
            dot = length;
        } else if (*p == '.') {
            dot = at;
        }
    }
    if (m_pszAppName != g_appName) {  // no name given
        // Cut, if at all, only between characters.
        const char* const name = full + nameStart;
        const char* end = name;
        for (const char* p = name; p < full + dot; p = ::CharNextA(p)) {
            const char* next = ::CharNextA(p);
            if (next - name > MAX_PATH - 1) break;
            end = next;
        }
        const std::size_t nameLength = static_cast<std::size_t>(end - name);
        std::memcpy(g_appName, name, nameLength);
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
