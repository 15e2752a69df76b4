// Writes to the file named by its argument what GetOwnVersionString gives in
// a program built without a version resource, and the system's size of it.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "own_version.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    char path[MAX_PATH];
    ::GetModuleFileNameA(nullptr, path, sizeof(path));
    DWORD handle = 0;
    DWORD size = ::GetFileVersionInfoSizeA(path, &handle);
    char* version = GetOwnVersionString();
    FILE* f = std::fopen(argv[1], "wb");
    if (!f) return 3;
    std::fprintf(f, "size=%lu version=%s", static_cast<unsigned long>(size), version ? version : "(none)");
    std::fclose(f);
    std::free(version);
    return 0;
}
