#include "label_dialog.h"

#include <cstring>

namespace {

void PushDword(std::vector<WORD>& t, DWORD value)
{
    t.push_back(LOWORD(value));
    t.push_back(HIWORD(value));
}

void PushText(std::vector<WORD>& t, const char* text)
{
    for (; *text; ++text)
        t.push_back(static_cast<unsigned char>(*text));
    t.push_back(0);
}

struct Item {
    int id;
    DWORD style;
    short x, y, cx, cy;
    const char* text;
};

std::vector<WORD> BuildTemplate()
{
    const Item items[] = {
        {WebId, SS_LEFT | WS_GROUP, 5, 5, 186, 8, WebText},
        {MailId, SS_LEFT | WS_GROUP, 5, 20, 68, 8, MailText},
        {RightId, SS_RIGHT | SS_CENTERIMAGE, 100, 35, 100, 20, "right"},
        {EmptyId, SS_LEFT, 5, 62, 100, 8, ""},
    };
    std::vector<WORD> t;
    PushDword(t, DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE);
    PushDword(t, 0);
    t.push_back(static_cast<WORD>(sizeof items / sizeof items[0]));
    for (short v : {0, 0, 220, 80})
        t.push_back(static_cast<WORD>(v));
    t.push_back(0);   // no menu
    t.push_back(0);   // the dialog class
    PushText(t, "Link labels");
    t.push_back(8);
    PushText(t, "MS Sans Serif");
    for (const Item& item : items) {
        if (t.size() % 2)
            t.push_back(0);   // items start on DWORD boundaries
        PushDword(t, WS_CHILD | WS_VISIBLE | item.style);
        PushDword(t, 0);
        for (short v : {item.x, item.y, item.cx, item.cy})
            t.push_back(static_cast<WORD>(v));
        t.push_back(static_cast<WORD>(item.id));
        t.push_back(0xFFFF);
        t.push_back(0x0082);   // STATIC
        PushText(t, item.text);
        t.push_back(0);        // no creation data
    }
    return t;
}

}  // namespace

LabelDialog::LabelDialog() : CDialog(0), dialogTemplate(BuildTemplate())
{
    InitModalIndirect(dialogTemplate.data());
}

const MessageMap* LabelDialog::GetThisMessageMap()
{
    static const MessageEntry entries[] = {
        OnMessageEntry<WM_APP, &LabelDialog::OnRunBody>(),
    };
    static const MessageMap map = MakeMessageMap<CDialog>(entries);
    return &map;
}

INT_PTR LabelDialog::Run(std::function<void(LabelDialog&)> testBody,
                         std::function<void(LabelDialog&)> beforeBind)
{
    body = std::move(testBody);
    beforeBinding = std::move(beforeBind);
    // The pointer starts away from the labels, so no hover is left over from before.
    ::SetCursorPos(0, 0);
    return DoModal();
}

BOOL LabelDialog::OnInitDialog()
{
    for (int id : {WebId, MailId, RightId, EmptyId}) {
        HWND control = ::GetDlgItem(m_hWnd, id);
        CRect rect;
        ::GetWindowRect(control, &rect);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
        templateRects[id] = rect;
        templateStyles[id] = static_cast<DWORD>(::GetWindowLongA(control, GWL_STYLE));
    }
    if (beforeBinding)
        beforeBinding(*this);
    BOOL result = CDialog::OnInitDialog();
    PostMessage(WM_APP);
    return result;
}

void LabelDialog::DoDataExchange(CDataExchange* dx)
{
    // The e-mail label first, as the main dialog binds them.
    DDX_Control(dx, MailId, mail);
    DDX_Control(dx, WebId, web);
    DDX_Control(dx, RightId, right);
    DDX_Control(dx, EmptyId, empty);
}

LRESULT LabelDialog::OnRunBody(WPARAM, LPARAM)
{
    if (body)
        body(*this);
    EndDialog(IDOK);
    return 0;
}

void Pump(DWORD ms)
{
    const DWORD start = ::GetTickCount();
    do {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::Sleep(10);
    } while (::GetTickCount() - start < ms);
}

CRect ScreenRect(CWnd& wnd)
{
    CRect rect;
    wnd.GetClientRect(&rect);
    wnd.ClientToScreen(&rect);
    return rect;
}

bool HoverTimerRunning(CWnd& wnd, DWORD ms)
{
    ::Sleep(ms);
    MSG msg;
    return ::PeekMessageA(&msg, wnd.m_hWnd, WM_TIMER, WM_TIMER, PM_NOREMOVE) && msg.wParam == 100;
}

bool CursorAlive(HCURSOR cursor)
{
    ICONINFO info{};
    if (!cursor || !::GetIconInfo(cursor, &info))
        return false;
    if (info.hbmMask)
        ::DeleteObject(info.hbmMask);
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    return true;
}
