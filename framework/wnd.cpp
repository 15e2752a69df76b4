#include "wnd.h"

#include <memory>
#include <unordered_map>

#include "win_app.h"

namespace {
// The bound object, and the window procedure it replaced: kept as window
// properties so a message that arrives after the object let go still
// reaches the control's own procedure.
const char kObjectProp[] = "Kelvara.CWnd";
const char kSuperProp[] = "Kelvara.SuperProc";

bool IsCtlColor(UINT message) { return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC; }
}  // namespace

CWnd::~CWnd() {
    if (m_pfnSuper) {
        UnsubclassWindow();
    } else if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
        UnbindHandle();
    }
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) app->m_pMainWnd = nullptr;
}

const MessageMap* CWnd::GetThisMessageMap() {
    static const MessageMap map = MakeMessageMap<CCmdTarget>();
    return &map;
}

void CWnd::PreSubclassWindow() {}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CWnd::DestroyWindow() { return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE; }

void CWnd::BindHandle(HWND hwnd) {
    m_hWnd = hwnd;
    ::SetPropA(hwnd, kObjectProp, this);
}

void CWnd::UnbindHandle() {
    if (m_hWnd && ::GetPropA(m_hWnd, kObjectProp) == this) ::RemovePropA(m_hWnd, kObjectProp);
    m_hWnd = nullptr;
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) app->m_pMainWnd = nullptr;
}

BOOL CWnd::SubclassWindow(HWND hwnd) {
    if (m_hWnd || !::IsWindow(hwnd) || FromHandlePermanent(hwnd)) return FALSE;
    BindHandle(hwnd);
    // Still the control's own procedure: what PreSubclassWindow sends to the
    // window goes straight to the control.
    PreSubclassWindow();
    if (m_hWnd != hwnd) return FALSE;   // PreSubclassWindow let go of it
    auto super = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::SubclassProc)));
    if (!super) {
        UnbindHandle();
        return FALSE;
    }
    m_pfnSuper = super;
    ::SetPropA(hwnd, kSuperProp, reinterpret_cast<HANDLE>(super));
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    if (!parent || !parent->m_hWnd) return FALSE;
    return SubclassWindow(::GetDlgItem(parent->m_hWnd, static_cast<int>(id)));
}

HWND CWnd::UnsubclassWindow() {
    HWND hwnd = m_hWnd;
    if (!hwnd || !m_pfnSuper) return nullptr;
    // Only put the old procedure back if nobody subclassed the window after us;
    // otherwise SubclassProc keeps forwarding through the property.
    if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hwnd, GWLP_WNDPROC)) == &CWnd::SubclassProc) {
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        ::RemovePropA(hwnd, kSuperProp);
    }
    m_pfnSuper = nullptr;
    UnbindHandle();
    return hwnd;
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
    return hwnd ? static_cast<CWnd*>(::GetPropA(hwnd, kObjectProp)) : nullptr;
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    if (!hwnd) return nullptr;
    if (CWnd* bound = FromHandlePermanent(hwnd)) return bound;
    // An unbound wrapper only carries the handle, so one made for a handle
    // value that is later reused still wraps the right window.
    thread_local std::unordered_map<HWND, std::unique_ptr<CWnd>> wrappers;
    std::unique_ptr<CWnd>& slot = wrappers[hwnd];
    if (!slot) {
        slot = std::make_unique<CWnd>();
        slot->m_hWnd = hwnd;
    }
    return slot.get();
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* self = FromHandlePermanent(hwnd);
    if (!self || !self->m_pfnSuper) {
        auto super = reinterpret_cast<WNDPROC>(::GetPropA(hwnd, kSuperProp));
        return super ? ::CallWindowProcA(super, hwnd, message, wParam, lParam)
                     : ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        // The window's last message: the control cleans up, then the object lets go.
        WNDPROC super = self->m_pfnSuper;
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(super));
        ::RemovePropA(hwnd, kSuperProp);
        self->m_pfnSuper = nullptr;
        self->UnbindHandle();
        LRESULT result = ::CallWindowProcA(super, hwnd, message, wParam, lParam);
        self->PostNcDestroy();
        return result;
    }
    CurrentMessage saved = self->m_current;
    self->m_current = CurrentMessage{message, wParam, lParam};
    LRESULT result = self->WindowProc(message, wParam, lParam);
    self->m_current = saved;
    return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (OnWndMsg(message, wParam, lParam, result)) return result;
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper) return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() { return DefWindowProc(m_current.message, m_current.wParam, m_current.lParam); }

bool CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_COMMAND || IsCtlColor(message)) {
        // Both carry the child control's handle in lParam: its object answers first.
        CWnd* child = FromHandlePermanent(reinterpret_cast<HWND>(lParam));
        if (child && child != this) {
            LRESULT childResult = 0;
            if (child->DispatchToMap(message, wParam, lParam, MessageSource::Reflected, childResult)) {
                if (message == WM_COMMAND) {
                    result = childResult;
                    return true;
                }
                if (childResult != 0) {
                    result = childResult;
                    return true;
                }
            }
        }
    }
    if (DispatchToMap(message, wParam, lParam, MessageSource::Own, result)) return true;
    if (message == WM_COMMAND) return RouteUnhandledCommand(wParam, lParam, result);
    return false;
}

bool CWnd::RouteUnhandledCommand(WPARAM, LPARAM, LRESULT&) { return false; }

int CWnd::GetWindowText(CString& text) const {
    int length = ::GetWindowTextLengthA(m_hWnd);
    if (length < 0) length = 0;
    char* buffer = text.GetBuffer(length);
    int got = ::GetWindowTextA(m_hWnd, buffer, length + 1);
    text.ReleaseBuffer(got > 0 ? got : 0);
    return text.GetLength();
}

int CWnd::GetWindowTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }
void CWnd::SetWindowText(const char* text) { ::SetWindowTextA(m_hWnd, text); }
BOOL CWnd::EnableWindow(BOOL enable) { return ::EnableWindow(m_hWnd, enable); }
BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
BOOL CWnd::ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
void CWnd::Invalidate(BOOL erase) { ::InvalidateRect(m_hWnd, nullptr, erase); }
void CWnd::InvalidateRect(const RECT* rect, BOOL erase) { ::InvalidateRect(m_hWnd, rect, erase); }
void CWnd::UpdateWindow() { ::UpdateWindow(m_hWnd); }
UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc) { return ::SetTimer(m_hWnd, id, elapse, proc); }
BOOL CWnd::KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
void CWnd::GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }
void CWnd::GetWindowRect(LPRECT rect) const { ::GetWindowRect(m_hWnd, rect); }
void CWnd::ClientToScreen(LPPOINT point) const { ::ClientToScreen(m_hWnd, point); }
void CWnd::ScreenToClient(LPPOINT point) const { ::ScreenToClient(m_hWnd, point); }

void CWnd::ClientToScreen(LPRECT rect) const {
    ::MapWindowPoints(m_hWnd, HWND_DESKTOP, reinterpret_cast<LPPOINT>(rect), 2);
}

void CWnd::ScreenToClient(LPRECT rect) const {
    ::MapWindowPoints(HWND_DESKTOP, m_hWnd, reinterpret_cast<LPPOINT>(rect), 2);
}

CWnd* CWnd::GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
CWnd* CWnd::GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
DWORD CWnd::GetStyle() const { return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE)); }
DWORD CWnd::GetExStyle() const { return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_EXSTYLE)); }

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags) {
    DWORD style = GetStyle();
    DWORD changed = (style & ~remove) | add;
    if (changed == style) return FALSE;
    ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(changed));
    if (swpFlags) {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    }
    return TRUE;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    return ::SetWindowPos(m_hWnd, insertAfter, x, y, cx, cy, flags);
}

BOOL CWnd::IsWindow() const { return ::IsWindow(m_hWnd); }
CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }

void CWnd::SetFont(HFONT font, BOOL redraw) {
    ::SendMessageA(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), MAKELPARAM(redraw, 0));
}

HFONT CWnd::GetFont() const { return reinterpret_cast<HFONT>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0)); }

CDC* CWnd::GetDC() {
    HDC dc = ::GetDC(m_hWnd);
    return dc ? new CDC(dc) : nullptr;
}

int CWnd::ReleaseDC(CDC* dc) {
    if (!dc) return 0;
    int released = ::ReleaseDC(m_hWnd, dc->m_hDC);
    delete dc;
    return released;
}

int CWnd::MessageBox(const char* text, const char* caption, UINT type) {
    return ::MessageBoxA(m_hWnd, text, caption ? caption : AfxGetAppName(), type);
}
