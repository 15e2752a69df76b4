#include "link_label.h"

#include "link_open.h"
#include "link_platform_win32.h"

namespace {

LinkPlatform* defaultPlatform = nullptr;

constexpr UINT_PTR TipToolId = 1;
constexpr UINT HoverPeriod = 100;        // ms
constexpr int RepaintBelow = 10;         // pixels under the client area repainted at hover end

}  // namespace

CLinkLabel::CLinkLabel()
    : idleColor(RGB(0, 0, 238)),
      followedColor(RGB(85, 26, 139)),
      hotColor(RGB(255, 0, 0)),
      isHot(FALSE),
      isFollowed(FALSE),
      underlineRule(UnderlineWhileHot),
      fitToText(TRUE),
      descriptiveTip(FALSE),
      handCursor(nullptr),
      hoverTimerId(100)
{
}

CLinkLabel::~CLinkLabel()
{
    // The order in which the label lets go of what it owns.
    fontUnderlined.DeleteObject();
    if (handCursor) {
        ::DestroyCursor(handCursor);
        handCursor = nullptr;
    }
    if (tip.IsWindow())
        tip.DestroyWindow();
    fontPlain.DeleteObject();
}

const MessageMap* CLinkLabel::GetThisMessageMap()
{
    static const MessageEntry entries[] = {
        OnReflectedCtlColorEntry<&CLinkLabel::CtlColor>(),
        OnSetCursorEntry<&CLinkLabel::OnSetCursor>(),
        OnMouseMoveEntry<&CLinkLabel::OnMouseMove>(),
        OnTimerEntry<&CLinkLabel::OnTimer>(),
        OnReflectedClickEntry<&CLinkLabel::OnReflectedClick>(),
        OnEraseBkgndEntry<&CLinkLabel::OnEraseBkgnd>(),
    };
    static const MessageMap map = MakeMessageMap<CStatic>(entries);
    return &map;
}

void CLinkLabel::SetDefaultPlatform(LinkPlatform* platform)
{
    defaultPlatform = platform;
}

LinkPlatform& CLinkLabel::Platform()
{
    if (platform)
        return *platform;
    if (defaultPlatform)
        return *defaultPlatform;
    return SystemLinkPlatform();
}

void CLinkLabel::PreSubclassWindow()
{
    // Without SS_NOTIFY the static control reports no clicks to its parent.
    ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(GetStyle() | SS_NOTIFY));

    if (target.IsEmpty())
        GetWindowText(target);
    CString text;
    GetWindowText(text);
    if (text.IsEmpty())
        SetWindowText(target);

    HGDIOBJ source = reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT));
    if (!source)
        source = ::GetStockObject(DEFAULT_GUI_FONT);
    if (!source)
        source = ::GetStockObject(ANSI_VAR_FONT);
    // With no font to copy at all, both fonts stay empty: the window then keeps drawing with
    // the system font, and the label works in every other respect.
    LOGFONTA logFont{};
    if (source && ::GetObjectA(source, sizeof logFont, &logFont) == sizeof logFont) {
        fontPlain.CreateFontIndirect(&logFont);
        logFont.lfUnderline = 1;
        fontUnderlined.CreateFontIndirect(&logFont);
    }

    FitToText();
    LoadHandCursor();
    SetUnderlineRule(UnderlineWhileHot);
    ComposeTipText(target);

    CRect client;
    GetClientRect(&client);
    tip.Create(this);
    tip.AddTool(this, tipText, &client, TipToolId);

    CStatic::PreSubclassWindow();
}

BOOL CLinkLabel::DestroyWindow()
{
    KillTimer(hoverTimerId);
    return CStatic::DestroyWindow();
}

BOOL CLinkLabel::PreTranslateMessage(MSG* msg)
{
    // The tooltip sees the mouse over its tool only through this relay (TTM_RELAYEVENT).
    tip.RelayEvent(msg);
    return CStatic::PreTranslateMessage(msg);
}

void CLinkLabel::SetTarget(const char* text)
{
    target = text;
    if (!IsWindow())
        return;
    FitToText();
    ComposeTipText(target);
    tip.UpdateTipText(tipText, this, TipToolId);
}

void CLinkLabel::EnableDescriptiveTip(BOOL descriptive)
{
    descriptiveTip = descriptive;
    ComposeTipText(target);
    // Only a tooltip that knows tool 1 is given the new text.
    TOOLINFOA info{};
    if (tip.GetSafeHwnd() && tip.GetToolInfo(info, this, TipToolId))
        tip.UpdateTipText(tipText, this, TipToolId);
}

void CLinkLabel::MarkFollowed(BOOL followed)
{
    isFollowed = followed;
    if (IsWindow())
        Invalidate(TRUE);
}

void CLinkLabel::UseCursor(HCURSOR cursor)
{
    if (handCursor) {
        ::DestroyCursor(handCursor);
        handCursor = nullptr;
    }
    handCursor = cursor;
    if (!handCursor)
        LoadHandCursor();
}

void CLinkLabel::SetUnderlineRule(int rule)
{
    if (rule == underlineRule)
        return;
    if (IsWindow()) {
        HFONT font = rule == UnderlineAlways ? fontUnderlined : fontPlain;
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        Invalidate(TRUE);
    }
    underlineRule = rule;
}

HBRUSH CLinkLabel::CtlColor(CDC* dc, UINT)
{
    // Hot wins over followed.
    dc->SetTextColor(isHot ? hotColor : isFollowed ? followedColor : idleColor);
    dc->SetBkMode(TRANSPARENT);
    // The control paints no background of its own; OnEraseBkgnd did it.
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

BOOL CLinkLabel::OnEraseBkgnd(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    dc->FillSolidRect(&client, ::GetSysColor(COLOR_BTNFACE));
    return TRUE;
}

void CLinkLabel::OnMouseMove(UINT, CPoint)
{
    if (!isHot) {
        isHot = TRUE;
        if (underlineRule == UnderlineWhileHot)
            SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(fontUnderlined)), TRUE);
        Invalidate(TRUE);
        // Polling ends the hover: the label never captures the mouse.
        SetTimer(hoverTimerId, HoverPeriod, nullptr);
    }
    Default();
}

void CLinkLabel::OnTimer(UINT_PTR)
{
    const DWORD position = ::GetMessagePos();
    POINT point{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    ScreenToClient(&point);
    CRect client;
    GetClientRect(&client);
    if (!::PtInRect(&client, point)) {
        isHot = FALSE;
        KillTimer(hoverTimerId);
        if (underlineRule != UnderlineAlways)
            SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(fontPlain)), TRUE);
        // The underline of the hot font may reach below the client area.
        client.bottom += RepaintBelow;
        InvalidateRect(&client, TRUE);
    }
    Default();
}

BOOL CLinkLabel::OnSetCursor(CWnd*, UINT, UINT)
{
    if (!handCursor)
        return FALSE;
    ::SetCursor(handCursor);
    return TRUE;
}

void CLinkLabel::LoadHandCursor()
{
    if (handCursor)
        return;
    char path[MAX_PATH];
    const UINT length = ::GetWindowsDirectoryA(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH || !AppendBounded(path, sizeof path, "\\winhlp32.exe"))
        return;
    HMODULE module = ::LoadLibraryA(path);
    if (!module)
        return;
    if (HCURSOR cursor = ::LoadCursorA(module, MAKEINTRESOURCEA(106)))
        handCursor = reinterpret_cast<HCURSOR>(::CopyIcon(reinterpret_cast<HICON>(cursor)));
    // The copy is ours and outlives the module.
    ::FreeLibrary(module);
}

void CLinkLabel::FitToText()
{
    if (!IsWindow() || !fitToText)
        return;

    CRect window;
    CRect client;
    GetWindowRect(&window);
    GetClientRect(&client);
    if (CWnd* parent = GetParent()) {
        parent->ScreenToClient(&window);
        ClientToScreen(&client);
        parent->ScreenToClient(&client);
    }

    CString text;
    GetWindowText(text);
    SIZE extent{0, 0};
    CDC* dc = GetDC();
    if (dc) {
        // Measured underlined, the font the text wears while hot.
        HGDIOBJ previous = fontUnderlined.GetSafeHandle() ? dc->SelectObject(&fontUnderlined) : nullptr;
        dc->GetTextExtentPoint32(text, text.GetLength(), &extent);
        if (previous)
            dc->SelectObject(previous);
        ReleaseDC(dc);
    }

    const LinkRect fitted = FitRectToText({window.left, window.top, window.right, window.bottom},
                                          {client.left, client.top, client.right, client.bottom},
                                          extent.cx, extent.cy, GetStyle());
    SetWindowPos(nullptr, fitted.left, fitted.top, fitted.right - fitted.left,
                 fitted.bottom - fitted.top, SWP_NOZORDER);
}

void CLinkLabel::ComposeTipText(const char* text)
{
    tipText = ::ComposeTipText(text, descriptiveTip != FALSE).c_str();
}

void CLinkLabel::OnReflectedClick()
{
    // The hover timer and the font stay as they are; the next tick or move sorts them out.
    isHot = FALSE;
    const UINT result = OpenTarget(target, ShowNormally);
    // Stored first, so a failed click leaves the label not followed whatever came before.
    isFollowed = IsOpenSuccess(result) ? TRUE : FALSE;
    if (isFollowed) {
        MarkFollowed(TRUE);
        return;
    }
    Platform().Beep(MB_ICONWARNING);
    ShowOpenError(result);
}

UINT CLinkLabel::OpenTarget(const char* link, int show)
{
    // Every click starts from a fresh copy of the hand cursor.
    UseCursor(nullptr);
    return OpenThroughShellOrBrowser(Platform(), link, show);
}

LONG CLinkLabel::ReadRegDefault(HKEY root, const char* subKey, char* out)
{
    return ::ReadRegDefault(Platform(), reinterpret_cast<RegKey>(root), subKey, out);
}

void CLinkLabel::ShowOpenError(UINT code)
{
    Platform().ShowMessage(OpenErrorMessage(static_cast<std::int32_t>(code)).c_str(), MB_ICONWARNING);
}
