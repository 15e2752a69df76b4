#include "own_version.h"

#include <windows.h>

#include <cstdlib>

#include "bounded_text.h"
#include "version_text.h"

char* GetOwnVersionString() {
    char path[260];
    if (::GetModuleFileNameA(nullptr, path, sizeof(path)) == 0) return nullptr;
    DWORD handle = 0;
    DWORD size = ::GetFileVersionInfoSizeA(path, &handle);
    if (size == 0) return nullptr;
    void* block = std::malloc(size);
    if (!block) return nullptr;
    char* result = nullptr;
    void* table = nullptr;
    UINT tableLength = 0;
    if (::GetFileVersionInfoA(path, 0, size, block) &&
        ::VerQueryValueA(block, "\\VarFileInfo\\Translation", &table, &tableLength) && table &&
        tableLength >= 4) {
        // The first entry: language then code page, each a little-endian WORD.
        const BYTE* translation = static_cast<const BYTE*>(table);
        char key[1024];
        FormatBounded(key, sizeof(key), "\\StringFileInfo\\%02x%02x%02x%02x\\FileVersion", translation[1],
                      translation[0], translation[3], translation[2]);
        char* fileVersion = nullptr;
        UINT fileVersionLength = 0;
        if (::VerQueryValueA(block, key, reinterpret_cast<void**>(&fileVersion), &fileVersionLength) && fileVersion) {
            result = DottedVersion(fileVersion);
        }
    }
    std::free(block);
    return result;
}
