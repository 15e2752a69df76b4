// Opening a link target: the shell first, then the command registered for ".htm" files.
#pragma once
#include <cstdint>

#include "link_platform.h"

// The default value of root\subKey as terminated text of at most 259 characters in out (at
// least 260 bytes; it may be the very buffer subKey lies in, which is read first). Returns 0,
// or the registry's code with out untouched. A missing, non-text or over-long value is an
// error too, so no caller ever works on a half-read or unterminated value.
std::int32_t ReadRegDefault(LinkPlatform& platform, RegKey root, const char* subKey, char* out);

// The shell's "open" on target; when that fails, the registered ".htm" open command cut at its
// placeholder, one blank and the target, run with WinExec. Returns the shell's code when the
// fallback cannot run (no association, or a command line over 520 bytes), else WinExec's.
std::uint32_t OpenThroughShellOrBrowser(LinkPlatform& platform, const char* target, int show);
