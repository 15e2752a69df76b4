#include "win_app.h"

#include "message_entries.h"
#include "text_rules.h"
#include "wnd.h"

namespace {
CWinApp* g_app = nullptr;

std::string OwnExecutablePath() {
    char path[MAX_PATH] = {};
    DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof(path));
    if (length == 0 || length >= sizeof(path)) path[0] = '\0';
    return path;
}
}  // namespace

CWinApp::CWinApp(const char* appName) {
    g_app = this;
    if (appName) {
        m_title = appName;
        m_pszAppName = m_title.c_str();
    }
}

CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}

const MessageMap* CWinApp::GetThisMessageMap() {
    static const MessageEntry entries[] = {
        OnCommandEntry<ID_HELP, &CWinApp::OnHelp>(),
    };
    static const MessageMap map = MakeMessageMap<CCmdTarget>(entries);
    return &map;
}

void CWinApp::EnsureNames() {
    if (m_pszAppName && m_pszHelpFilePath) return;
    std::string path = OwnExecutablePath();
    if (!m_pszAppName) {
        m_title = AppTitleFromPath(path.c_str());
        m_pszAppName = m_title.c_str();
    }
    if (!m_pszHelpFilePath) {
        m_helpPath = HelpPathFromPath(path.c_str());
        m_pszHelpFilePath = m_helpPath.c_str();
    }
}

BOOL CWinApp::InitApplication() { return TRUE; }
BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::Run() {
    MSG msg{};
    BOOL got;
    while ((got = ::GetMessageA(&msg, nullptr, 0, 0)) != 0 && got != -1) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    m_exitCode = got == 0 ? static_cast<int>(msg.wParam) : -1;
    return ExitInstance();
}

int CWinApp::ExitInstance() { return m_exitCode; }

BOOL CWinApp::Enable3dControlsStatic() { return TRUE; }

void CWinApp::OnHelp() {
    CWnd* source = m_pHelpSource ? m_pHelpSource : m_pMainWnd;
    DWORD context = source ? source->GetHelpContext() : 0;
    if (context) {
        WinHelp(context, HELP_CONTEXT);
    } else {
        WinHelp(0, HELP_CONTENTS);
    }
}

void CWinApp::WinHelp(DWORD_PTR data, UINT command) {
    EnsureNames();
    HWND owner = nullptr;
    if (m_pHelpSource && m_pHelpSource->m_hWnd) {
        owner = m_pHelpSource->m_hWnd;
    } else if (m_pMainWnd && m_pMainWnd->m_hWnd) {
        owner = m_pMainWnd->m_hWnd;
    }
    if (!CallWinHelp(owner, m_pszHelpFilePath, command, data)) {
        AfxMessageBox("Failed to launch help.", MB_ICONWARNING);
    }
}

BOOL CWinApp::CallWinHelp(HWND owner, const char* helpFile, UINT command, DWORD_PTR data) {
    return ::WinHelpA(owner, helpFile, command, data);
}

CWinApp* AfxGetApp() { return g_app; }

const char* AfxGetAppName() {
    if (g_app) {
        g_app->EnsureNames();
        return g_app->m_pszAppName;
    }
    static const std::string title = AppTitleFromPath(OwnExecutablePath().c_str());
    return title.c_str();
}

int AfxMessageBox(const char* text, UINT type, UINT /*helpId*/) {
    HWND owner = nullptr;
    if (g_app && g_app->m_pMainWnd && ::IsWindow(g_app->m_pMainWnd->m_hWnd)) {
        owner = g_app->m_pMainWnd->m_hWnd;
    } else {
        owner = ::GetActiveWindow();
    }
    return ::MessageBoxA(owner, text, AfxGetAppName(), type);
}

BOOL AfxWinInit(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
    if (!g_app) return FALSE;
    g_app->m_hInstance = instance;
    g_app->m_lpCmdLine = commandLine;
    g_app->m_nCmdShow = show;
    g_app->EnsureNames();
    return TRUE;
}

int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    CWinApp* app = AfxGetApp();
    if (!app || !AfxWinInit(instance, previous, commandLine, show)) return -1;
    if (!app->InitApplication() || !app->InitInstance()) {
        // Started without a message loop (or failed to start): whatever main
        // window is still named goes now.
        if (app->m_pMainWnd && app->m_pMainWnd->m_hWnd) app->m_pMainWnd->DestroyWindow();
        return app->ExitInstance();
    }
    return app->Run();
}
