// What the framework tests share: a dialog whose steps each test gives, and
// the child-process modes of the test program.
#pragma once
#include "framework/framework.h"

#include <functional>

#include "res/resource.h"

// Ends a dialog that nothing else ended, so a broken test fails instead of hanging.
constexpr INT_PTR kTimedOut = 77;
constexpr UINT_PTR kWatchdogTimer = 4242;
constexpr UINT kShownMessage = WM_APP + 100;

class ScriptedDialog : public CDialog {
public:
    explicit ScriptedDialog(UINT templateId = IDD_MAIN) : CDialog(templateId) {}

    static const MessageMap* GetThisMessageMap();
    const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

    BOOL OnInitDialog() override;

    // Run inside OnInitDialog after the controls are bound; may set initResult.
    std::function<void(ScriptedDialog&)> onInit;
    // Run from the modal loop once the window is shown.
    std::function<void(ScriptedDialog&)> onShown;
    // Timers other than the watchdog.
    std::function<void(ScriptedDialog&, UINT_PTR)> onTimer;
    BOOL initResult = TRUE;

    void OnTimer(UINT_PTR id);
    LRESULT OnShown(WPARAM, LPARAM);
};

// Runs the test program itself under another name with arguments; returns
// its exit code, or -1 when it could not be run.
int RunSelfAs(const char* exeName, const char* arguments);
// A path in the temporary directory.
std::string TempPath(const char* name);
std::string ReadWholeFile(const char* path);
