// Drives a running Kelvara from outside, as a user would: finds its windows, reads what they
// show, and posts the clicks and keys a person would give. Nothing runs inside its process.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

class KelvaraProcess {
public:
    explicit KelvaraProcess(const std::string& exePath);
    ~KelvaraProcess();
    KelvaraProcess(const KelvaraProcess&) = delete;
    KelvaraProcess& operator=(const KelvaraProcess&) = delete;

    bool Started() const { return dialog != nullptr; }
    HWND Dialog() const { return dialog; }
    HWND Item(int id) const { return GetDlgItem(dialog, id); }
    std::string Text(int id) const;
    bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
    HWND Focus() const;

    // A click on a push button of the main dialog. Press returns once its handler has run;
    // Click returns at once, for a handler that opens a box or a dialog of its own.
    void Press(int id) const;
    void Click(int id) const;
    void Key(HWND target, UINT virtualKey) const;

    // A top-level dialog of this process other than the main one, with this caption.
    HWND WaitForDialog(const std::string& caption, DWORD timeoutMs = 10000) const;
    // Waits until the main dialog's handler has returned to the modal loop. Only for a
    // handler that pumps no messages after the moment the caller waited for.
    void Settle() const;
    // Polls until the condition holds (keys go through the queue, so their effect comes later).
    template <class Condition>
    bool WaitUntil(Condition condition, DWORD timeoutMs = 10000) const
    {
        for (DWORD waited = 0; !condition(); waited += 20) {
            if (waited >= timeoutMs)
                return false;
            Sleep(20);
        }
        return true;
    }
    // Runs the whole "..." file dialog, typing path into its file name box; false if it never showed.
    bool Choose(const std::string& path) const;
    bool WaitForExit(DWORD timeoutMs = 10000) const;

    DWORD ProcessId() const { return info.dwProcessId; }

private:
    PROCESS_INFORMATION info{};
    HWND dialog = nullptr;
};

std::string WindowText(HWND window);
std::vector<HWND> Children(HWND parent, const char* className);
// The message text of a message box and whether it shows an icon.
std::string MessageBoxText(HWND box);
bool MessageBoxHasIcon(HWND box);
void Dismiss(HWND dialogBox, int command = IDOK);

// Saves what the screen shows of a window as a 24-bit BMP.
bool SaveScreenshot(HWND window, const std::string& bmpPath);
