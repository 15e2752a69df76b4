// Everything a link click asks of the system outside its own window, behind one interface, so
// tests can fail each step with a chosen code and see what was called, in which order.
#pragma once
#include <cstdint>

// A registry key handle, the same value as the system's HKEY.
using RegKey = std::uintptr_t;

// HKEY_CLASSES_ROOT: the 32-bit 0x80000000, sign-extended to a handle.
constexpr RegKey ClassesRootKey = static_cast<RegKey>(static_cast<std::intptr_t>(INT32_MIN));

// Registry codes and value types the label tells apart.
constexpr std::int32_t RegSuccess = 0;          // ERROR_SUCCESS
constexpr std::int32_t RegFileNotFound = 2;     // ERROR_FILE_NOT_FOUND
constexpr std::int32_t RegInvalidData = 13;     // ERROR_INVALID_DATA
constexpr std::int32_t RegMoreData = 234;       // ERROR_MORE_DATA
constexpr std::uint32_t RegTypeString = 1;      // REG_SZ

constexpr std::uint32_t WarningIcon = 0x30;     // MB_ICONWARNING
constexpr int ShowNormally = 5;                 // SW_SHOW

class LinkPlatform {
public:
    virtual ~LinkPlatform() = default;

    // ShellExecuteA: no owner, verb "open", no parameters, no directory. Above 32 is success.
    virtual std::uint32_t ShellOpen(const char* file, int show) = 0;
    // RegOpenKeyExA with options 0 and KEY_QUERY_VALUE.
    virtual std::int32_t OpenRegKey(RegKey root, const char* subKey, RegKey* key) = 0;
    // RegQueryValueExA on the unnamed (default) value; size in bytes, in and out.
    virtual std::int32_t QueryRegDefault(RegKey key, std::uint32_t* type, char* data,
                                         std::uint32_t* size) = 0;
    virtual std::int32_t CloseRegKey(RegKey key) = 0;
    // WinExec. Above 32 is success.
    virtual std::uint32_t RunCommand(const char* commandLine, int show) = 0;
    // MessageBeep.
    virtual void Beep(std::uint32_t type) = 0;
    // AfxMessageBox: modal, captioned with the application's title; returns when closed.
    virtual void ShowMessage(const char* text, std::uint32_t type) = 0;
};
