// The test program's application object: records what the framework asks of it.
#pragma once
#include "framework/framework.h"

#include <string>

class TestApp : public CWinApp {
public:
    BOOL InitApplication() override;
    BOOL InitInstance() override;
    int ExitInstance() override;

    // Child mode: InitInstance writes what it was given to this file.
    const char* reportFile = nullptr;
    bool initApplicationCalled = false;

    // The system's help call: recorded and answered with helpResult, since
    // under Wine the real one starts the help viewer and waits for it.
    BOOL CallWinHelp(HWND owner, const char* helpFile, UINT command, DWORD_PTR data) override;
    BOOL helpResult = FALSE;
    int helpCalls = 0;
    HWND helpOwner = nullptr;
    std::string helpFile;
    UINT helpCommand = 0;
    DWORD_PTR helpData = 0;
};

extern TestApp theApp;
