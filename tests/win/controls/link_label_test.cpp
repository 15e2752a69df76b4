#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "../../../controls/testing/recording_link_platform.h"
#include "label_dialog.h"

namespace {

using Calls = std::vector<std::string>;

HFONT WindowFont(CWnd& wnd)
{
    return reinterpret_cast<HFONT>(wnd.SendMessage(WM_GETFONT));
}

LOGFONTA LogFontOf(HFONT font)
{
    LOGFONTA logFont{};
    ::GetObjectA(font, sizeof logFont, &logFont);
    return logFont;
}

bool SameFace(const LOGFONTA& a, const LOGFONTA& b)
{
    return a.lfHeight == b.lfHeight && a.lfWeight == b.lfWeight && a.lfItalic == b.lfItalic &&
           a.lfCharSet == b.lfCharSet && std::string(a.lfFaceName) == b.lfFaceName;
}

// What the dialog answers when its static control asks for colours: the brush, and what the
// label did to the device context.
struct ColourAnswer {
    HBRUSH brush;
    COLORREF text;
    int backgroundMode;
};

ColourAnswer AskColour(LabelDialog& dialog, CWnd& label)
{
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    ::ReleaseDC(nullptr, screen);
    ::SetTextColor(dc, RGB(1, 2, 3));
    ::SetBkMode(dc, OPAQUE);
    ColourAnswer answer;
    answer.brush = reinterpret_cast<HBRUSH>(
        dialog.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(label.m_hWnd)));
    answer.text = ::GetTextColor(dc);
    answer.backgroundMode = ::GetBkMode(dc);
    ::DeleteDC(dc);
    return answer;
}

// Whether cursor 106 of winhlp32.exe can be had on this system at all.
bool HandCursorAvailable()
{
    char path[MAX_PATH];
    ::GetWindowsDirectoryA(path, MAX_PATH);
    std::string file = std::string(path) + "\\winhlp32.exe";
    HMODULE module = ::LoadLibraryA(file.c_str());
    if (!module)
        return false;
    bool found = ::LoadCursorA(module, MAKEINTRESOURCEA(106)) != nullptr;
    ::FreeLibrary(module);
    return found;
}

CRect ParentRect(LabelDialog& dialog, CWnd& label)
{
    CRect rect;
    label.GetWindowRect(&rect);
    dialog.ScreenToClient(&rect);
    return rect;
}

SIZE TextExtent(CWnd& label, HFONT font, const char* text)
{
    HDC dc = ::GetDC(label.m_hWnd);
    HGDIOBJ previous = ::SelectObject(dc, font);
    SIZE size{};
    ::GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
    ::SelectObject(dc, previous);
    ::ReleaseDC(label.m_hWnd, dc);
    return size;
}

TEST(LinkLabelAttaching, NotifiesFitsToItsTextAndCopiesTheFont)
{
    LabelDialog dialog;
    ASSERT_EQ(dialog.Run([](LabelDialog& d) {
        // SS_NOTIFY added, every other bit kept.
        for (auto* label : {&d.web, &d.mail, &d.right, &d.empty}) {
            const int id = label->GetDlgCtrlID();
            EXPECT_EQ(label->GetStyle(), d.templateStyles[id] | SS_NOTIFY) << id;
        }

        // A label with no target links to its own text.
        EXPECT_STREQ(d.web.target, WebText);
        EXPECT_STREQ(d.mail.target, MailText);
        EXPECT_STREQ(d.empty.target, "");

        // The fonts are copies of the dialog's font, one underlined; the window keeps its own.
        HFONT dialogFont = reinterpret_cast<HFONT>(d.SendMessage(WM_GETFONT));
        ASSERT_NE(dialogFont, nullptr);
        EXPECT_EQ(WindowFont(d.web), dialogFont);
        const LOGFONTA source = LogFontOf(dialogFont);
        const LOGFONTA plain = LogFontOf(d.web.fontPlain);
        const LOGFONTA underlined = LogFontOf(d.web.fontUnderlined);
        EXPECT_TRUE(SameFace(plain, source));
        EXPECT_TRUE(SameFace(underlined, source));
        EXPECT_EQ(plain.lfUnderline, 0);
        EXPECT_EQ(underlined.lfUnderline, 1);
        EXPECT_NE(static_cast<HFONT>(d.web.fontPlain), dialogFont);

        // Left-aligned: the top-left corner stays; the client area is the text, measured underlined.
        const SIZE webText = TextExtent(d.web, d.web.fontUnderlined, WebText);
        CRect client;
        d.web.GetClientRect(&client);
        EXPECT_EQ(client.Width(), webText.cx);
        EXPECT_EQ(client.Height(), webText.cy);
        const CRect web = ParentRect(d, d.web);
        EXPECT_EQ(web.left, d.templateRects[WebId].left);
        EXPECT_EQ(web.top, d.templateRects[WebId].top);
        EXPECT_NE(web.Width(), d.templateRects[WebId].Width()) << "the template's 186 units are wider";

        // Right-aligned and vertically centred: the right edge stays, the middle stays to a pixel.
        const SIZE rightText = TextExtent(d.right, d.right.fontUnderlined, "right");
        const CRect right = ParentRect(d, d.right);
        const CRect before = d.templateRects[RightId];
        EXPECT_EQ(right.Width(), rightText.cx);
        EXPECT_EQ(right.right, before.right);
        EXPECT_LE(std::abs((right.top + right.bottom) - (before.top + before.bottom)), 1);
        EXPECT_LE(std::abs(right.Height() - rightText.cy), 1);

        // Tool 1 covers the fitted client area and shows the text.
        TOOLINFOA info{};
        ASSERT_TRUE(d.web.tip.GetToolInfo(info, &d.web, 1));
        EXPECT_EQ(CRect(info.rect).Width(), client.Width());
        EXPECT_EQ(CRect(info.rect).Height(), client.Height());
        EXPECT_STREQ(d.web.tip.GetText(&d.web, 1), WebText);
    }), IDOK);
}

TEST(LinkLabelAttaching, SettingsMadeBeforeAttachingAreStoredOrUndone)
{
    LabelDialog dialog;
    ASSERT_EQ(dialog.Run(
                  [](LabelDialog& d) {
                      // The empty label shows the target it was given beforehand.
                      CString text;
                      d.empty.GetWindowText(text);
                      EXPECT_STREQ(text, WebTarget);
                      EXPECT_STREQ(d.empty.tip.GetText(&d.empty, 1), "Go to kelvara.example/releases");
                      // Rule 1 given before attaching is replaced by -1, and the plain font sent.
                      EXPECT_EQ(d.empty.underlineRule, UnderlineWhileHot);
                      EXPECT_EQ(WindowFont(d.empty), static_cast<HFONT>(d.empty.fontPlain));
                      EXPECT_TRUE(d.empty.isFollowed);
                      EXPECT_EQ(AskColour(d, d.empty).text, d.empty.followedColor);
                  },
                  [](LabelDialog& d) {
                      d.empty.SetTarget(WebTarget);
                      d.empty.EnableDescriptiveTip(TRUE);
                      d.empty.SetUnderlineRule(UnderlineAlways);
                      d.empty.MarkFollowed(TRUE);
                      EXPECT_EQ(d.empty.underlineRule, UnderlineAlways);
                      EXPECT_STREQ(d.empty.tipText, "Go to kelvara.example/releases");
                  }),
              IDOK);
}

TEST(LinkLabelTooltip, ToolOneFollowsTheDialogsConfiguration)
{
    LabelDialog dialog;
    ASSERT_EQ(dialog.Run([](LabelDialog& d) {
        auto toolText = [](ProbeLabel& label) { return std::string(label.tip.GetText(&label, 1)); };
        EXPECT_EQ(toolText(d.web), WebText);
        EXPECT_EQ(toolText(d.mail), MailText);

        CRect fitted;
        d.web.GetWindowRect(&fitted);
        d.web.SetTarget(WebTarget);
        d.mail.SetTarget(MailTarget);
        EXPECT_EQ(toolText(d.web), WebTarget);
        EXPECT_EQ(toolText(d.mail), MailTarget);
        // The window text and so the size stay.
        CString text;
        d.web.GetWindowText(text);
        EXPECT_STREQ(text, WebText);
        CRect after;
        d.web.GetWindowRect(&after);
        EXPECT_TRUE(::EqualRect(&fitted, &after));

        d.web.EnableDescriptiveTip(TRUE);
        d.mail.EnableDescriptiveTip(TRUE);
        EXPECT_EQ(toolText(d.web), "Go to kelvara.example/releases");
        EXPECT_EQ(toolText(d.mail), "E-mail team@kelvara.example");

        d.web.EnableDescriptiveTip(FALSE);
        EXPECT_EQ(toolText(d.web), WebTarget);
    }), IDOK);
}

TEST(LinkLabelTooltip, RelayedMouseShowsTheTipAndConsumesNothing)
{
    LabelDialog dialog;
    ASSERT_EQ(dialog.Run([](LabelDialog& d) {
        d.web.SetTarget(WebTarget);
        d.web.EnableDescriptiveTip(TRUE);
        const CRect screen = ScreenRect(d.web);
        const POINT centre{(screen.left + screen.right) / 2, (screen.top + screen.bottom) / 2};
        ::SetCursorPos(centre.x, centre.y);
        EXPECT_FALSE(::IsWindowVisible(d.web.tip.m_hWnd));
        MSG move{};
        move.hwnd = d.web.m_hWnd;
        move.message = WM_MOUSEMOVE;
        POINT client = centre;
        d.web.ScreenToClient(&client);
        move.lParam = MAKELPARAM(client.x, client.y);
        move.time = ::GetTickCount();
        move.pt = centre;
        EXPECT_FALSE(d.web.PreTranslateMessage(&move));
        bool shown = false;
        for (int i = 0; i < 30 && !shown; ++i) {
            Pump(100);
            shown = ::IsWindowVisible(d.web.tip.m_hWnd) != FALSE;
        }
        EXPECT_TRUE(shown) << "the tooltip never appeared over its tool";
        char text[256] = {};
        ::GetWindowTextA(d.web.tip.m_hWnd, text, sizeof text);
        EXPECT_STREQ(text, "Go to kelvara.example/releases");
    }), IDOK);
}

TEST(LinkLabelColour, HotWinsOverFollowedAndTheBackgroundIsLeftToTheErase)
{
    LabelDialog dialog;
    ASSERT_EQ(dialog.Run([](LabelDialog& d) {
        HBRUSH nullBrush = static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
        ColourAnswer idle = AskColour(d, d.web);
        EXPECT_EQ(idle.brush, nullBrush);
        EXPECT_EQ(idle.text, RGB(0, 0, 238));
        EXPECT_EQ(idle.backgroundMode, TRANSPARENT);

        d.web.MarkFollowed(TRUE);
        EXPECT_EQ(AskColour(d, d.web).text, RGB(85, 26, 139));
        d.web.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
        ColourAnswer hot = AskColour(d, d.web);
        EXPECT_EQ(hot.text, RGB(255, 0, 0));
        EXPECT_EQ(hot.brush, nullBrush);
        // The other label is untouched.
        EXPECT_EQ(AskColour(d, d.mail).text, RGB(0, 0, 238));

        // The erase fills the client area with the button face.
        CRect client;
        d.web.GetClientRect(&client);
        HDC screen = ::GetDC(nullptr);
        HDC dc = ::CreateCompatibleDC(screen);
        HBITMAP bitmap = ::CreateCompatibleBitmap(screen, client.Width() + 4, client.Height() + 4);
        ::ReleaseDC(nullptr, screen);
        HGDIOBJ previous = ::SelectObject(dc, bitmap);
        RECT all{0, 0, client.Width() + 4, client.Height() + 4};
        ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        EXPECT_TRUE(d.web.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc)));
        const COLORREF face = ::GetNearestColor(dc, ::GetSysColor(COLOR_BTNFACE));
        EXPECT_EQ(::GetPixel(dc, 0, 0), face);
        EXPECT_EQ(::GetPixel(dc, client.Width() - 1, client.Height() - 1), face);
        EXPECT_EQ(::GetPixel(dc, client.Width() + 1, client.Height() + 1), RGB(0, 0, 0));
        ::SelectObject(dc, previous);
        ::DeleteObject(bitmap);
        ::DeleteDC(dc);
    }), IDOK);
}

TEST(LinkLabelHover, MoveStartsItAndATickOutsideEndsIt)
{
    LabelDialog dialog;
    ASSERT_EQ(dialog.Run([](LabelDialog& d) {
        ProbeLabel& web = d.web;
        Pump(100);
        ::ValidateRect(web.m_hWnd, nullptr);

        web.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        EXPECT_TRUE(web.isHot);
        EXPECT_EQ(WindowFont(web), static_cast<HFONT>(web.fontUnderlined));
        EXPECT_EQ(LogFontOf(WindowFont(web)).lfUnderline, 1);
        EXPECT_TRUE(::GetUpdateRect(web.m_hWnd, nullptr, FALSE)) << "repaint asked";
        EXPECT_TRUE(HoverTimerRunning(web));

        // Further moves while hot change nothing.
        ::ValidateRect(web.m_hWnd, nullptr);
        web.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
        EXPECT_FALSE(::GetUpdateRect(web.m_hWnd, nullptr, FALSE));

        // Ticks with the pointer on the last pixel inside change nothing.
        const CRect screen = ScreenRect(web);
        const int middleY = (screen.top + screen.bottom) / 2;
        ::SetCursorPos(screen.right - 1, screen.bottom - 1);
        Pump(350);
        EXPECT_TRUE(web.isHot);
        EXPECT_EQ(WindowFont(web), static_cast<HFONT>(web.fontUnderlined));
        EXPECT_TRUE(HoverTimerRunning(web));

        // The right edge line is outside.
        ::SetCursorPos(screen.right, middleY);
        Pump(350);
        EXPECT_FALSE(web.isHot);
        EXPECT_EQ(WindowFont(web), static_cast<HFONT>(web.fontPlain));
        EXPECT_FALSE(HoverTimerRunning(web)) << "the timer was killed";
        EXPECT_EQ(AskColour(d, web).text, web.idleColor);

        // So is the bottom edge line.
        web.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        ASSERT_TRUE(web.isHot);
        ::SetCursorPos((screen.left + screen.right) / 2, screen.bottom);
        Pump(350);
        EXPECT_FALSE(web.isHot);
        EXPECT_FALSE(HoverTimerRunning(web));
    }), IDOK);
}

TEST(LinkLabelHover, UnderlineRulesDecideTheFont)
{
    LabelDialog dialog;
    ASSERT_EQ(dialog.Run([](LabelDialog& d) {
        ProbeLabel& web = d.web;
        const CRect screen = ScreenRect(web);
        auto hoverAndLeave = [&](HFONT whileHot, HFONT after) {
            web.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
            EXPECT_EQ(WindowFont(web), whileHot);
            ::SetCursorPos(screen.right + 20, screen.bottom + 20);
            Pump(350);
            EXPECT_FALSE(web.isHot);
            EXPECT_EQ(WindowFont(web), after);
        };
        const HFONT templateFont = WindowFont(web);

        web.SetUnderlineRule(UnderlineNever);
        EXPECT_EQ(WindowFont(web), static_cast<HFONT>(web.fontPlain));
        hoverAndLeave(web.fontPlain, web.fontPlain);

        web.SetUnderlineRule(UnderlineAlways);
        EXPECT_EQ(WindowFont(web), static_cast<HFONT>(web.fontUnderlined));
        hoverAndLeave(web.fontUnderlined, web.fontUnderlined);

        // No font is sent at this hover end, yet the label is repainted for its new colour.
        web.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        Pump(50);
        ::ValidateRect(web.m_hWnd, nullptr);
        ::Sleep(150);
        MSG tick;
        ASSERT_TRUE(::PeekMessageA(&tick, web.m_hWnd, WM_TIMER, WM_TIMER, PM_REMOVE));
        ::DispatchMessageA(&tick);
        EXPECT_FALSE(web.isHot);
        EXPECT_TRUE(::GetUpdateRect(web.m_hWnd, nullptr, FALSE));

        // The same rule again: no font, no repaint.
        Pump(50);
        ::ValidateRect(web.m_hWnd, nullptr);
        web.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(templateFont), FALSE);
        web.SetUnderlineRule(UnderlineAlways);
        EXPECT_EQ(WindowFont(web), templateFont);
        EXPECT_FALSE(::GetUpdateRect(web.m_hWnd, nullptr, FALSE));

        web.SetUnderlineRule(UnderlineWhileHot);
        hoverAndLeave(web.fontUnderlined, web.fontPlain);
    }), IDOK);
}

TEST(LinkLabelCursor, SetCursorAnswersByWhetherACursorIsHeld)
{
    const bool available = HandCursorAvailable();
    LabelDialog dialog;
    ASSERT_EQ(dialog.Run([available](LabelDialog& d) {
        ProbeLabel& web = d.web;
        EXPECT_EQ(web.handCursor != nullptr, available);
        auto askCursor = [&] {
            return web.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(web.m_hWnd),
                                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        };

        HCURSOR own = CopyCursor(::LoadCursorA(nullptr, IDC_IBEAM));
        ASSERT_NE(own, nullptr);
        HCURSOR previous = web.handCursor;
        web.UseCursor(own);
        EXPECT_EQ(web.handCursor, own);
        if (previous) {
            EXPECT_FALSE(CursorAlive(previous)) << "the held cursor is destroyed when replaced";
        }
        ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
        EXPECT_EQ(askCursor(), TRUE);
        EXPECT_EQ(::GetCursor(), own);

        // None: the hand cursor is loaded afresh.
        web.UseCursor(nullptr);
        EXPECT_FALSE(CursorAlive(own));
        EXPECT_EQ(web.handCursor != nullptr, available);

        // A label without a cursor sets none and answers FALSE.
        if (web.handCursor)
            ::DestroyCursor(web.handCursor);
        web.handCursor = nullptr;
        HCURSOR arrow = ::LoadCursorA(nullptr, IDC_ARROW);
        ::SetCursor(arrow);
        EXPECT_EQ(askCursor(), FALSE);
        EXPECT_EQ(::GetCursor(), arrow);
    }), IDOK);
}

// A winhlp32.exe of our own in the prefix's Windows directory, carrying cursor 106, for as
// long as the object lives. Made from the recorder program with the cursor added in place.
class StandInHelpProgram {
public:
    StandInHelpProgram()
    {
        char directory[MAX_PATH];
        ::GetWindowsDirectoryA(directory, MAX_PATH);
        path = std::string(directory) + "\\winhlp32.exe";
        if (::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
            return;   // the system has one: leave it alone
        char self[MAX_PATH];
        ::GetModuleFileNameA(nullptr, self, MAX_PATH);
        std::string recorder(self);
        recorder = recorder.substr(0, recorder.find_last_of('\\') + 1) + "link_recorder.exe";
        if (!::CopyFileA(recorder.c_str(), path.c_str(), TRUE))
            return;
        made = true;

        // A 32 x 32 monochrome cursor: hot spot, header, two colours, image and mask.
        std::vector<BYTE> cursor(4);
        BITMAPINFOHEADER header{};
        header.biSize = sizeof header;
        header.biWidth = 32;
        header.biHeight = 64;
        header.biPlanes = 1;
        header.biBitCount = 1;
        const BYTE* raw = reinterpret_cast<const BYTE*>(&header);
        cursor.insert(cursor.end(), raw, raw + sizeof header);
        const BYTE colours[8] = {0, 0, 0, 0, 255, 255, 255, 0};
        cursor.insert(cursor.end(), colours, colours + 8);
        cursor.insert(cursor.end(), 128, 0xAA);   // image
        cursor.insert(cursor.end(), 128, 0x00);   // mask: all opaque
        const WORD group[] = {0, 2, 1, 32, 64, 1, 1,
                              LOWORD(cursor.size()), HIWORD(cursor.size()), 1};
        HANDLE update = ::BeginUpdateResourceA(path.c_str(), FALSE);
        ready = update &&
                ::UpdateResourceA(update, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(1), 0,
                                  cursor.data(), static_cast<DWORD>(cursor.size())) &&
                ::UpdateResourceA(update, MAKEINTRESOURCEA(12), MAKEINTRESOURCEA(106), 0,
                                  const_cast<WORD*>(group), sizeof group) &&
                ::EndUpdateResourceA(update, FALSE);
    }
    ~StandInHelpProgram()
    {
        if (made)
            ::DeleteFileA(path.c_str());
    }
    std::string path;
    bool made = false;
    bool ready = false;
};

// Run only inside the child process below, which Wine lets load a winhlp32.exe from disk.
TEST(LinkLabelCursor, DISABLED_TheHandIsACopyOfWinhlp32sCursor106)
{
    StandInHelpProgram help;
    if (!help.made)
        GTEST_SKIP() << help.path << " exists already; not replaced";
    ASSERT_TRUE(help.ready);
    ASSERT_TRUE(HandCursorAvailable());
    LabelDialog dialog;
    ASSERT_EQ(dialog.Run([&](LabelDialog& d) {
        HCURSOR first = d.web.handCursor;
        ASSERT_NE(first, nullptr);
        EXPECT_TRUE(CursorAlive(first)) << "the copy outlives the module";
        EXPECT_EQ(::GetModuleHandleA(help.path.c_str()), nullptr) << "the module was released";
        ICONINFO info{};
        ASSERT_TRUE(::GetIconInfo(first, &info));
        EXPECT_FALSE(info.fIcon);
        ::DeleteObject(info.hbmMask);
        if (info.hbmColor)
            ::DeleteObject(info.hbmColor);
        EXPECT_NE(d.mail.handCursor, first) << "each label holds its own copy";
        EXPECT_EQ(d.web.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(d.web.m_hWnd),
                                    MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)), TRUE);
        EXPECT_EQ(::GetCursor(), first);

        d.web.UseCursor(nullptr);
        EXPECT_FALSE(CursorAlive(first));
        EXPECT_TRUE(CursorAlive(d.web.handCursor));
    }), IDOK);
}

TEST(LinkLabelCursor, TheHandCursorComesFromWinhlp32InTheWindowsDirectory)
{
    // Wine loads its own built-in winhlp32.exe whatever lies on disk, unless its registry says
    // otherwise for the program before it starts; so the check runs in a child process, and
    // only this test program is told to load the file.
    char self[MAX_PATH];
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    const char* overrideKey = "Software\\Wine\\AppDefaults\\link_label_test.exe";
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER,
                                (std::string(overrideKey) + "\\DllOverrides").c_str(), 0, nullptr, 0,
                                KEY_SET_VALUE, nullptr, &key, nullptr), ERROR_SUCCESS);
    const char native[] = "native";
    ::RegSetValueExA(key, "winhlp32.exe", 0, REG_SZ, reinterpret_cast<const BYTE*>(native), sizeof native);
    ::RegCloseKey(key);
    std::string commandLine = std::string("\"") + self +
                              "\" --gtest_also_run_disabled_tests "
                              "--gtest_filter=LinkLabelCursor.DISABLED_TheHandIsACopyOfWinhlp32sCursor106";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const BOOL started = ::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                                          nullptr, &startup, &process);
    const DWORD waited = started ? ::WaitForSingleObject(process.hProcess, 120000) : WAIT_FAILED;
    ::RegDeleteTreeA(HKEY_CURRENT_USER, overrideKey);
    ASSERT_TRUE(started);
    ASSERT_EQ(waited, WAIT_OBJECT_0);
    DWORD exitCode = 1;
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    EXPECT_EQ(exitCode, 0u) << "the child's checks failed; its output is above";
}

// Records too whether the label's old cursor was already gone when the shell was asked.
class CursorWatchingPlatform : public RecordingLinkPlatform {
public:
    HCURSOR watched = nullptr;
    bool watchedAliveAtShell = true;
    std::uint32_t ShellOpen(const char* file, int show) override
    {
        watchedAliveAtShell = CursorAlive(watched);
        return RecordingLinkPlatform::ShellOpen(file, show);
    }
};

void Click(CWnd& label)
{
    label.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    label.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

TEST(LinkLabelClick, AFailingShellBeepsShowsTheCodesTextAndLeavesItNotFollowed)
{
    LabelDialog dialog;
    ASSERT_EQ(dialog.Run([](LabelDialog& d) {
        ProbeLabel& web = d.web;
        web.SetTarget(WebTarget);
        CursorWatchingPlatform platform;
        web.SetPlatform(&platform);

        // A successful click first: followed, and painted so although the pointer is over it.
        platform.shellResult = 42;
        web.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        ASSERT_TRUE(web.isHot);
        platform.watched = CopyCursor(::LoadCursorA(nullptr, IDC_IBEAM));
        web.UseCursor(platform.watched);
        Click(web);
        EXPECT_EQ(platform.calls, Calls{"ShellExecuteA(open, \"http://kelvara.example/releases\", 5)"});
        EXPECT_FALSE(platform.watchedAliveAtShell) << "the cursor is replaced before the shell runs";
        EXPECT_TRUE(web.isFollowed);
        EXPECT_FALSE(web.isHot);
        EXPECT_EQ(AskColour(d, web).text, web.followedColor);

        // Then a failing one: no ".htm" in this registry.
        platform.calls.clear();
        platform.shellResult = 31;
        Click(web);
        EXPECT_EQ(platform.calls,
                  (Calls{"ShellExecuteA(open, \"http://kelvara.example/releases\", 5)",
                         "RegOpenKeyExA(HKCR, \".htm\")", "MessageBeep(0x30)",
                         "AfxMessageBox(\"Unable to open hyperlink:\n\nThere is no application "
                         "associated\nwith the given filename extension.\", 0x30)"}));
        EXPECT_FALSE(web.isFollowed);
        EXPECT_EQ(AskColour(d, web).text, web.idleColor);

        // A reflected STN_CLICKED from the dialog reaches the label the same way.
        platform.calls.clear();
        platform.shellResult = 26;
        d.SendMessage(WM_COMMAND, MAKEWPARAM(WebId, STN_CLICKED), reinterpret_cast<LPARAM>(web.m_hWnd));
        ASSERT_EQ(platform.messages.size(), 2u);
        EXPECT_EQ(platform.messages.back(), "Unable to open hyperlink:\n\nA sharing violation occurred. ");

        // The global platform serves labels without their own.
        RecordingLinkPlatform global;
        global.shellResult = 1;
        CLinkLabel::SetDefaultPlatform(&global);
        d.mail.SetTarget(MailTarget);
        Click(d.mail);
        CLinkLabel::SetDefaultPlatform(nullptr);
        EXPECT_EQ(global.messages, std::vector<std::string>{"Unable to open hyperlink:\n\nUnknown Error (1) occurred."});
        EXPECT_EQ(global.calls.front(), "ShellExecuteA(open, \"mailto:team@kelvara.example\", 5)");
    }), IDOK);
}

TEST(LinkLabelLifetime, DestroyWindowStopsTheHoverAndTheObjectLetsGo)
{
    auto dialog = std::make_unique<LabelDialog>();
    HCURSOR held = nullptr;
    ASSERT_EQ(dialog->Run([&](LabelDialog& d) {
        d.right.UseCursor(CopyCursor(::LoadCursorA(nullptr, IDC_IBEAM)));
        held = d.right.handCursor;
        d.right.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
        ASSERT_TRUE(HoverTimerRunning(d.right));
        HWND window = d.right.m_hWnd;
        EXPECT_TRUE(d.right.DestroyWindow());
        EXPECT_FALSE(::IsWindow(window));
    }), IDOK);
    EXPECT_TRUE(CursorAlive(held)) << "the cursor is the label's until the label goes";
    dialog.reset();
    EXPECT_FALSE(CursorAlive(held));
}

}  // namespace
