#include "window_driver.h"

#include <cstdio>

namespace {

struct Search {
    DWORD processId;
    HWND exclude;
    const std::string* caption;
    HWND found;
};

BOOL CALLBACK FindTopLevel(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<Search*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (owner != search->processId || window == search->exclude || !IsWindowVisible(window) ||
        std::string(className) != "#32770")
        return TRUE;
    if (search->caption && WindowText(window) != *search->caption)
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND FindDialog(DWORD processId, HWND exclude, const std::string* caption, DWORD timeoutMs)
{
    for (DWORD waited = 0;; waited += 50) {
        Search search{processId, exclude, caption, nullptr};
        EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&search));
        if (search.found || waited >= timeoutMs)
            return search.found;
        Sleep(50);
    }
}

struct ChildSearch {
    const char* className;
    std::vector<HWND>* found;
};

BOOL CALLBACK CollectChild(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<ChildSearch*>(context);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpiA(className, search->className) == 0)
        search->found->push_back(window);
    return TRUE;
}

}  // namespace

std::string WindowText(HWND window)
{
    char text[1024] = {};
    // WM_GETTEXT is marshalled across processes, unlike most pointer-carrying messages.
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        5000, nullptr);
    return text;
}

std::vector<HWND> Children(HWND parent, const char* className)
{
    std::vector<HWND> found;
    ChildSearch search{className, &found};
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&search));
    return found;
}

KelvaraProcess::KelvaraProcess(const std::string& exePath)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + exePath + "\"";
    if (!CreateProcessA(exePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return;
    WaitForInputIdle(info.hProcess, 10000);
    dialog = FindDialog(info.dwProcessId, nullptr, nullptr, 20000);
    if (dialog)
        Settle();
}

KelvaraProcess::~KelvaraProcess()
{
    if (!info.hProcess)
        return;
    if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(info.hProcess, 1);
        WaitForSingleObject(info.hProcess, 5000);
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}

std::string KelvaraProcess::Text(int id) const
{
    return WindowText(Item(id));
}

HWND KelvaraProcess::Focus() const
{
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    if (!GetGUIThreadInfo(info.dwThreadId, &gui))
        return nullptr;
    return gui.hwndFocus;
}

void KelvaraProcess::Press(int id) const
{
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id)),
                        SMTO_NORMAL, 20000, &ignored);
}

void KelvaraProcess::Click(int id) const
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id)));
}

void KelvaraProcess::Key(HWND target, UINT virtualKey) const
{
    PostMessageA(target, WM_KEYDOWN, virtualKey, 1);
    PostMessageA(target, WM_KEYUP, virtualKey, static_cast<LPARAM>(0xC0000001u));
}

HWND KelvaraProcess::WaitForDialog(const std::string& caption, DWORD timeoutMs) const
{
    return FindDialog(info.dwProcessId, dialog, &caption, timeoutMs);
}

void KelvaraProcess::Settle() const
{
    // A message sent from another thread is answered only when that thread next looks for
    // messages: after the handler, since no handler here pumps messages once its box is gone.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
}

bool KelvaraProcess::Choose(const std::string& path) const
{
    Click(1001);
    HWND files = WaitForDialog("ProntoEdit / RC5000Setup Executable to patch");
    if (!files)
        return false;
    // The Explorer-style dialog's file name box is edt1, or the edit inside combo cmb13.
    HWND name = GetDlgItem(files, 0x480);
    if (!name) {
        HWND combo = GetDlgItem(files, 0x47C);
        std::vector<HWND> edits = Children(combo, "Edit");
        name = edits.empty() ? nullptr : edits.front();
    }
    if (!name)
        return false;
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageA(files, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    for (int i = 0; i < 200 && IsWindow(files); ++i)
        Sleep(50);
    Settle();
    return !IsWindow(files);
}

bool KelvaraProcess::WaitForExit(DWORD timeoutMs) const
{
    return WaitForSingleObject(info.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

std::string MessageBoxText(HWND box)
{
    for (HWND item : Children(box, "Static")) {
        std::string text = WindowText(item);
        if (!text.empty())
            return text;
    }
    return {};
}

bool MessageBoxHasIcon(HWND box)
{
    for (HWND item : Children(box, "Static")) {
        if ((GetWindowLongA(item, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && IsWindowVisible(item) &&
            SendMessageA(item, STM_GETICON, 0, 0) != 0)
            return true;
    }
    return false;
}

void Dismiss(HWND dialogBox, int command)
{
    PostMessageA(dialogBox, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
    for (int i = 0; i < 200 && IsWindow(dialogBox); ++i)
        Sleep(25);
}

bool SaveScreenshot(HWND window, const std::string& bmpPath)
{
    RECT rect;
    if (!GetWindowRect(window, &rect))
        return false;
    SetForegroundWindow(window);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(300);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO bitmapInfo{};
    bitmapInfo.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bitmapInfo.bmiHeader.biWidth = width;
    bitmapInfo.bmiHeader.biHeight = height;   // bottom-up, as BMP files store it
    bitmapInfo.bmiHeader.biPlanes = 1;
    bitmapInfo.bmiHeader.biBitCount = 24;
    bitmapInfo.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &bitmapInfo, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    const DWORD stride = static_cast<DWORD>((width * 3 + 3) & ~3);
    const DWORD imageSize = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    header.bfSize = header.bfOffBits + imageSize;
    bool saved = false;
    if (FILE* file = std::fopen(bmpPath.c_str(), "wb")) {
        saved = std::fwrite(&header, sizeof header, 1, file) == 1 &&
                std::fwrite(&bitmapInfo.bmiHeader, sizeof(BITMAPINFOHEADER), 1, file) == 1 &&
                std::fwrite(bits, 1, imageSize, file) == imageSize;
        saved = std::fclose(file) == 0 && saved;
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return saved;
}
