#include "link_open.h"

#include <cstring>

#include "link_logic.h"

std::int32_t ReadRegDefault(LinkPlatform& platform, RegKey root, const char* subKey, char* out)
{
    RegKey key = 0;
    const std::int32_t opened = platform.OpenRegKey(root, subKey, &key);
    if (opened != RegSuccess)
        return opened;

    char value[RegValueSize];
    std::uint32_t type = 0;
    std::uint32_t size = sizeof value;
    std::int32_t result = platform.QueryRegDefault(key, &type, value, &size);
    platform.CloseRegKey(key);
    if (result != RegSuccess)
        return result;   // missing (2) or longer than the buffer (234)
    // WinExec cannot expand REG_EXPAND_SZ, so only plain text is a usable command.
    if (type != RegTypeString || size > sizeof value)
        return RegInvalidData;

    // The stored text may or may not carry its terminator; 260 bytes without one is a
    // 260-character value, one more than the buffer can hand on terminated.
    const void* end = std::memchr(value, '\0', size);
    const std::size_t length =
        end ? static_cast<std::size_t>(static_cast<const char*>(end) - value) : size;
    if (length >= sizeof value)
        return RegMoreData;
    std::memcpy(out, value, length);
    out[length] = '\0';
    return RegSuccess;
}

std::uint32_t OpenThroughShellOrBrowser(LinkPlatform& platform, const char* target, int show)
{
    const std::uint32_t shell = platform.ShellOpen(target, show);
    if (shell > 32)
        return shell;

    // One buffer holds in turn the file type, its command's key path, the command, the line.
    char line[CommandLineSize];
    if (ReadRegDefault(platform, ClassesRootKey, ".htm", line) != RegSuccess)
        return shell;
    // A type name of at most 259 characters always leaves room for the key path.
    if (!AppendBounded(line, sizeof line, "\\shell\\open\\command"))
        return shell;
    if (ReadRegDefault(platform, ClassesRootKey, line, line) != RegSuccess)
        return shell;
    if (!AssembleCommandLine(line, sizeof line, target))
        return shell;
    return platform.RunCommand(line, show);
}
