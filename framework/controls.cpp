#include "controls.h"

const MessageMap* CStatic::GetThisMessageMap() {
    static const MessageMap map = MakeMessageMap<CWnd>();
    return &map;
}

const MessageMap* CButton::GetThisMessageMap() {
    static const MessageMap map = MakeMessageMap<CWnd>();
    return &map;
}

const MessageMap* CEdit::GetThisMessageMap() {
    static const MessageMap map = MakeMessageMap<CWnd>();
    return &map;
}

void CEdit::SetSel(int start, int end, BOOL noScroll) {
    ::SendMessageA(m_hWnd, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
    if (!noScroll) ::SendMessageA(m_hWnd, EM_SCROLLCARET, 0, 0);
}

namespace {
// Older comctl32 versions reject the larger structure of version 6, and
// version 6 accepts this size: the common ground.
const UINT kToolInfoSize = TTTOOLINFOA_V2_SIZE;

// A tool is keyed by its window and id; a whole-window tool by its parent
// and its own handle (TTF_IDISHWND).
void KeyTool(TOOLINFOA& info, CWnd* wnd, UINT_PTR id, bool wholeWindow) {
    info.cbSize = kToolInfoSize;
    HWND hwnd = wnd ? wnd->m_hWnd : nullptr;
    if (wholeWindow) {
        HWND parent = ::GetParent(hwnd);
        info.uFlags = TTF_IDISHWND;
        info.hwnd = parent ? parent : hwnd;
        info.uId = reinterpret_cast<UINT_PTR>(hwnd);
    } else {
        info.hwnd = hwnd;
        info.uId = id;
    }
}
}  // namespace

CToolTipCtrl::~CToolTipCtrl() {
    if (m_hWnd) ::DestroyWindow(m_hWnd);   // lets go of it at WM_NCDESTROY
}

const MessageMap* CToolTipCtrl::GetThisMessageMap() {
    static const MessageMap map = MakeMessageMap<CWnd>();
    return &map;
}

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style) {
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&init);
    HWND hwnd = ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | style, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  parent ? parent->m_hWnd : nullptr, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
    if (!hwnd) return FALSE;
    // Bound so that the object lets go when the system destroys the tooltip with its owner.
    if (!SubclassWindow(hwnd)) {
        ::DestroyWindow(hwnd);
        return FALSE;
    }
    return TRUE;
}

BOOL CToolTipCtrl::AddTool(CWnd* wnd, const char* text, const RECT* rect, UINT_PTR id) {
    if (!m_hWnd || !wnd) return FALSE;
    TOOLINFOA info{};
    bool wholeWindow = !rect && id == 0;
    KeyTool(info, wnd, id, wholeWindow);
    if (!wholeWindow) {
        if (rect) {
            info.rect = *rect;
        } else {
            ::GetClientRect(wnd->m_hWnd, &info.rect);
        }
    }
    info.lpszText = text ? const_cast<char*>(text) : LPSTR_TEXTCALLBACKA;
    return static_cast<BOOL>(::SendMessageA(m_hWnd, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)));
}

BOOL CToolTipCtrl::GetToolInfo(TOOLINFOA& info, CWnd* wnd, UINT_PTR id) const {
    // The tooltip copies the tool's text into lpszText without being told its
    // size; the longest tip text it keeps is this long.
    thread_local char text[1024];
    info = TOOLINFOA{};
    KeyTool(info, wnd, id, id == 0);
    text[0] = '\0';
    info.lpszText = text;
    if (!m_hWnd || !wnd) return FALSE;
    return static_cast<BOOL>(::SendMessageA(m_hWnd, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&info)));
}

void CToolTipCtrl::UpdateTipText(const char* text, CWnd* wnd, UINT_PTR id) {
    if (!m_hWnd || !wnd) return;
    TOOLINFOA info{};
    KeyTool(info, wnd, id, id == 0);
    info.lpszText = const_cast<char*>(text ? text : "");
    ::SendMessageA(m_hWnd, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
}

CString CToolTipCtrl::GetText(CWnd* wnd, UINT_PTR id) const {
    char text[1024] = {};
    if (!m_hWnd || !wnd) return CString();
    TOOLINFOA info{};
    KeyTool(info, wnd, id, id == 0);
    info.lpszText = text;
    ::SendMessageA(m_hWnd, TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&info));
    text[sizeof(text) - 1] = '\0';
    return CString(text);
}

void CToolTipCtrl::RelayEvent(MSG* msg) {
    if (m_hWnd) ::SendMessageA(m_hWnd, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
}

void CToolTipCtrl::Activate(BOOL activate) {
    if (m_hWnd) ::SendMessageA(m_hWnd, TTM_ACTIVATE, static_cast<WPARAM>(activate), 0);
}
