// The program's own file version, read from its version resource.
#pragma once

// The FileVersion of the running executable's version resource (its first
// translation) in dotted form, such as "1.0.0.4": newly allocated with
// malloc, the caller frees it. Null on any failure: no path, no version
// resource, no translation table, no FileVersion text, no number in it, no memory.
char* GetOwnVersionString();
