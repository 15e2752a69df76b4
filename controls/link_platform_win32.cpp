#include "link_platform_win32.h"

#include <windows.h>
#include <shellapi.h>

#include "framework/framework.h"

static_assert(WarningIcon == MB_ICONWARNING && ShowNormally == SW_SHOW, "");
static_assert(RegSuccess == ERROR_SUCCESS && RegFileNotFound == ERROR_FILE_NOT_FOUND &&
                  RegInvalidData == ERROR_INVALID_DATA && RegMoreData == ERROR_MORE_DATA &&
                  RegTypeString == REG_SZ,
              "");

std::uint32_t Win32LinkPlatform::ShellOpen(const char* file, int show)
{
    HINSTANCE result = ShellExecuteA(nullptr, "open", file, nullptr, nullptr, show);
    // The "instance" is only a code: above 32 on success, an error number otherwise.
    return static_cast<std::uint32_t>(reinterpret_cast<INT_PTR>(result));
}

std::int32_t Win32LinkPlatform::OpenRegKey(RegKey root, const char* subKey, RegKey* key)
{
    HKEY opened = nullptr;
    LONG result = RegOpenKeyExA(reinterpret_cast<HKEY>(root), subKey, 0, KEY_QUERY_VALUE, &opened);
    if (result == ERROR_SUCCESS)
        *key = reinterpret_cast<RegKey>(opened);
    return result;
}

std::int32_t Win32LinkPlatform::QueryRegDefault(RegKey key, std::uint32_t* type, char* data,
                                                std::uint32_t* size)
{
    DWORD valueType = 0;
    DWORD valueSize = size ? *size : 0;
    LONG result = RegQueryValueExA(reinterpret_cast<HKEY>(key), nullptr, nullptr, &valueType,
                                   reinterpret_cast<BYTE*>(data), size ? &valueSize : nullptr);
    if (type)
        *type = valueType;
    if (size)
        *size = valueSize;
    return result;
}

std::int32_t Win32LinkPlatform::CloseRegKey(RegKey key)
{
    return RegCloseKey(reinterpret_cast<HKEY>(key));
}

std::uint32_t Win32LinkPlatform::RunCommand(const char* commandLine, int show)
{
    return WinExec(commandLine, static_cast<UINT>(show));
}

void Win32LinkPlatform::Beep(std::uint32_t type)
{
    MessageBeep(type);
}

void Win32LinkPlatform::ShowMessage(const char* text, std::uint32_t type)
{
    AfxMessageBox(text, type);
}

Win32LinkPlatform& SystemLinkPlatform()
{
    static Win32LinkPlatform platform;
    return platform;
}
