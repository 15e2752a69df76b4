#include "support.h"

#include <cstdio>
#include <string>

const MessageMap* ScriptedDialog::GetThisMessageMap() {
    static const MessageEntry entries[] = {
        OnTimerEntry<&ScriptedDialog::OnTimer>(),
        OnMessageEntry<kShownMessage, &ScriptedDialog::OnShown>(),
    };
    static const MessageMap map = MakeMessageMap<CDialog>(entries);
    return &map;
}

BOOL ScriptedDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    SetTimer(kWatchdogTimer, 10000);
    PostMessage(kShownMessage);
    if (onInit) onInit(*this);
    return initResult;
}

void ScriptedDialog::OnTimer(UINT_PTR id) {
    if (id == kWatchdogTimer) {
        KillTimer(id);
        EndDialog(static_cast<int>(kTimedOut));
    } else if (onTimer) {
        onTimer(*this, id);
    }
}

LRESULT ScriptedDialog::OnShown(WPARAM, LPARAM) {
    if (onShown) onShown(*this);
    return 0;
}

std::string TempPath(const char* name) {
    char dir[MAX_PATH];
    ::GetTempPathA(sizeof(dir), dir);
    return std::string(dir) + name;
}

std::string ReadWholeFile(const char* path) {
    std::string text;
    if (FILE* f = std::fopen(path, "rb")) {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof(buffer), f)) > 0) text.append(buffer, n);
        std::fclose(f);
    }
    return text;
}

int RunSelfAs(const char* exeName, const char* arguments) {
    char self[MAX_PATH];
    ::GetModuleFileNameA(nullptr, self, sizeof(self));
    std::string copy = TempPath(exeName);
    if (!::CopyFileA(self, copy.c_str(), FALSE)) return -1;
    std::string commandLine = "\"" + copy + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(copy.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process)) {
        ::DeleteFileA(copy.c_str());
        return -1;
    }
    DWORD code = static_cast<DWORD>(-1);
    if (::WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) {
        ::GetExitCodeProcess(process.hProcess, &code);
    } else {
        ::TerminateProcess(process.hProcess, 1);
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    ::DeleteFileA(copy.c_str());
    return static_cast<int>(code);
}
