// The framework test program. Besides the tests it has two child modes:
//   --report-names FILE        runs the framework's entry, whose InitInstance writes the
//                              title and help path it was given to FILE
//   --show-main-dialog READY DONE   shows IDD_MAIN, writes READY once it is painted and
//                              ends when DONE exists (the screenshot run)
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "support.h"
#include "test_app.h"

TestApp theApp;

BOOL TestApp::InitApplication() {
    initApplicationCalled = true;
    return CWinApp::InitApplication();
}

BOOL TestApp::InitInstance() {
    if (!reportFile) return CWinApp::InitInstance();
    if (FILE* f = std::fopen(reportFile, "wb")) {
        std::fprintf(f, "title=%s\nhelp=%s\ninitApplication=%d\ncaption=%s\n", m_pszAppName,
                     m_pszHelpFilePath, initApplicationCalled ? 1 : 0, AfxGetAppName());
        std::fclose(f);
    }
    return FALSE;
}

int TestApp::ExitInstance() { return reportFile ? 42 : CWinApp::ExitInstance(); }

BOOL TestApp::CallWinHelp(HWND owner, const char* file, UINT command, DWORD_PTR data) {
    ++helpCalls;
    helpOwner = owner;
    helpFile = file ? file : "";
    helpCommand = command;
    helpData = data;
    return helpResult;
}

namespace {

int ShowMainDialog(const char* readyFile, const char* doneFile) {
    ScriptedDialog dialog(IDD_MAIN);
    dialog.onInit = [](ScriptedDialog& d) {
        HICON icon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
        d.SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        d.SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
        d.KillTimer(kWatchdogTimer);
        d.SetTimer(kWatchdogTimer, 60000);
    };
    dialog.onShown = [readyFile](ScriptedDialog& d) {
        d.UpdateWindow();
        if (FILE* f = std::fopen(readyFile, "wb")) {
            RECT r;
            d.GetWindowRect(&r);
            std::fprintf(f, "%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
            std::fclose(f);
        }
        d.SetTimer(1, 100);
    };
    dialog.onTimer = [doneFile](ScriptedDialog& d, UINT_PTR) {
        if (::GetFileAttributesA(doneFile) != INVALID_FILE_ATTRIBUTES) d.EndDialog(IDOK);
    };
    return dialog.DoModal() == IDOK ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "--report-names") == 0) {
        theApp.reportFile = argv[2];
        return AfxWinMain(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), SW_SHOWNORMAL);
    }
    if (argc >= 4 && std::strcmp(argv[1], "--show-main-dialog") == 0) return ShowMainDialog(argv[2], argv[3]);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
