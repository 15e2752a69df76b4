// Stands in for a browser in the fallback test: writes the command line it was started with to
// link_recorder.out beside itself, and nothing else.
#include <windows.h>

#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char path[MAX_PATH + 8];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return 1;
    char* dot = std::strrchr(path, '.');
    if (!dot)
        return 1;
    std::strcpy(dot, ".tmp");
    char finalPath[MAX_PATH + 8];
    std::strcpy(finalPath, path);
    std::strcpy(std::strrchr(finalPath, '.'), ".out");

    // Written under another name first, so the test never reads half a line.
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    const char* line = GetCommandLineA();
    DWORD written = 0;
    BOOL ok = WriteFile(file, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
    CloseHandle(file);
    if (!ok || !MoveFileExA(path, finalPath, MOVEFILE_REPLACE_EXISTING))
        return 1;
    return 0;
}
