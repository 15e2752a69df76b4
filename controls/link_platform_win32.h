// The link platform over the real system: shell32, advapi32, kernel32's WinExec, user32's beep
// and the framework's message box. Tests derive from it to replace single calls.
#pragma once
#include "link_platform.h"

class Win32LinkPlatform : public LinkPlatform {
public:
    std::uint32_t ShellOpen(const char* file, int show) override;
    std::int32_t OpenRegKey(RegKey root, const char* subKey, RegKey* key) override;
    std::int32_t QueryRegDefault(RegKey key, std::uint32_t* type, char* data,
                                 std::uint32_t* size) override;
    std::int32_t CloseRegKey(RegKey key) override;
    std::uint32_t RunCommand(const char* commandLine, int show) override;
    void Beep(std::uint32_t type) override;
    void ShowMessage(const char* text, std::uint32_t type) override;
};

// The one real platform that labels use unless told otherwise.
Win32LinkPlatform& SystemLinkPlatform();
