#include "dialog.h"

#include <algorithm>

#include "message_entries.h"
#include "win_app.h"

namespace {

// What the centring rule needs of a template, standard or extended.
struct TemplatePlacement {
    DWORD style;
    short x;
    short y;
};

TemplatePlacement ReadPlacement(const void* dialogTemplate) {
    const auto* words = static_cast<const WORD*>(dialogTemplate);
    TemplatePlacement p{};
    if (words[0] == 1 && words[1] == 0xFFFF) {
        // DLGTEMPLATEEX: version, signature, helpID, exStyle, style, cDlgItems, x, y
        const auto* bytes = static_cast<const BYTE*>(dialogTemplate);
        CopyMemory(&p.style, bytes + 12, sizeof(DWORD));
        CopyMemory(&p.x, bytes + 18, sizeof(short));
        CopyMemory(&p.y, bytes + 20, sizeof(short));
    } else {
        const auto* t = static_cast<const DLGTEMPLATE*>(dialogTemplate);
        p.style = t->style;
        p.x = t->x;
        p.y = t->y;
    }
    return p;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Messages whose answer a dialog procedure returns itself; every other
// handled message answers through DWLP_MSGRESULT and returns TRUE.
bool AnswersDirectly(UINT message) {
    switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
        return true;
    default:
        return false;
    }
}

INT_PTR DialogProcResult(HWND hwnd, UINT message, LRESULT result) {
    if (AnswersDirectly(message)) return static_cast<INT_PTR>(result);
    ::SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

// The middle of the work area of the window's monitor, kept inside it.
void CentreInWorkArea(HWND hwnd) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (!::GetMonitorInfoA(::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    RECT window;
    ::GetWindowRect(hwnd, &window);
    const RECT& work = monitor.rcWork;
    int width = window.right - window.left;
    int height = window.bottom - window.top;
    int x = std::max<int>(work.left, work.left + (work.right - work.left - width) / 2);
    int y = std::max<int>(work.top, work.top + (work.bottom - work.top - height) / 2);
    ::SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
    if (control.m_hWnd) return;
    HWND dialog = dx->m_pDlgWnd ? dx->m_pDlgWnd->m_hWnd : nullptr;
    HWND item = dialog ? ::GetDlgItem(dialog, id) : nullptr;
    if (!item || !control.SubclassWindow(item)) dx->Fail();
}

CDialog::CDialog(UINT templateId, CWnd* parent)
    : m_nIDHelp(templateId), m_nIDTemplate(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog() {
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) ::DestroyWindow(m_hWnd);
}

const MessageMap* CDialog::GetThisMessageMap() {
    static const MessageEntry entries[] = {
        OnCommandEntry<IDOK, &CDialog::OnOK>(),
        OnCommandEntry<IDCANCEL, &CDialog::OnCancel>(),
        OnMessageEntry<WM_HELP, &CDialog::OnHelpMessage>(),
    };
    static const MessageMap map = MakeMessageMap<CWnd>(entries);
    return &map;
}

INT_PTR CDialog::DoModal() {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    const void* dialogTemplate = m_template;
    if (!dialogTemplate) {
        HRSRC found = ::FindResourceA(instance, MAKEINTRESOURCEA(m_nIDTemplate), MAKEINTRESOURCEA(5));
        HGLOBAL loaded = found ? ::LoadResource(instance, found) : nullptr;
        dialogTemplate = loaded ? ::LockResource(loaded) : nullptr;
        if (!dialogTemplate) return -1;
    }
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    TemplatePlacement placement = ReadPlacement(dialogTemplate);
    m_centreIfUnmoved = (placement.style & (DS_ABSALIGN | DS_CENTER | DS_CENTERMOUSE)) == 0 &&
                        placement.x == 0 && placement.y == 0;
    m_nModalResult = -1;
    m_modalRunning = true;
    HWND hwnd = ::CreateDialogIndirectParamA(instance, static_cast<LPCDLGTEMPLATEA>(dialogTemplate),
                                             owner, &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    if (!hwnd) {
        m_modalRunning = false;
        return -1;
    }
    m_ownerDisabled = false;
    if (owner && ::IsWindowEnabled(owner)) {
        ::EnableWindow(owner, FALSE);
        m_ownerDisabled = true;
        m_owner = owner;
    }
    if (m_modalRunning && m_hWnd && !::IsWindowVisible(m_hWnd)) ::ShowWindow(m_hWnd, SW_SHOWNORMAL);

    MSG msg;
    while (m_modalRunning && m_hWnd) {
        BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            // The program is ending: hand WM_QUIT on to the loop outside.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            m_nModalResult = -1;
            break;
        }
        if (got == -1) break;
        if (!PreTranslateInput(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    m_modalRunning = false;
    if (m_ownerDisabled) {
        ::EnableWindow(m_owner, TRUE);
        m_ownerDisabled = false;
    }
    if (m_hWnd) {
        if (owner && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(owner);
        DestroyWindow();
    }
    return m_nModalResult;
}

bool CDialog::PreTranslateInput(MSG* msg) {
    HWND dialog = m_hWnd;
    if (!dialog) return false;
    if (msg->hwnd == dialog || ::IsChild(dialog, msg->hwnd)) {
        for (HWND hwnd = msg->hwnd; hwnd; hwnd = ::GetParent(hwnd)) {
            CWnd* wnd = FromHandlePermanent(hwnd);
            if (wnd && wnd->PreTranslateMessage(msg)) return true;
            if (hwnd == dialog) break;
        }
    }
    return ::IsDialogMessageA(dialog, msg) != FALSE;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog* self;
    if (message == WM_INITDIALOG) {
        // The first message that carries the object: bind it here.
        self = reinterpret_cast<CDialog*>(lParam);
        self->BindHandle(hwnd);
        ::SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    if (!self || self->m_hWnd != hwnd) return FALSE;
    if (self->m_defaultPending && self->m_defaultMessage == message) {
        // Default() called DefDlgProc, which asks us first: let it do its own work.
        self->m_defaultPending = false;
        return FALSE;
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        self->UnbindHandle();
        self->m_modalRunning = false;
        self->PostNcDestroy();
        return FALSE;
    }

    CurrentMessage saved = self->m_current;
    self->m_current = CurrentMessage{message, wParam, lParam};
    LRESULT result = 0;
    bool handled;
    if (message == WM_INITDIALOG) {
        result = self->HandleInitDialog();
        handled = true;
    } else {
        handled = self->OnWndMsg(message, wParam, lParam, result);
    }
    self->m_current = saved;
    return handled ? DialogProcResult(hwnd, message, result) : FALSE;
}

BOOL CDialog::HandleInitDialog() {
    RECT before;
    ::GetWindowRect(m_hWnd, &before);
    BOOL visibleBefore = ::IsWindowVisible(m_hWnd);
    BOOL focusDefault = OnInitDialog();
    if (!m_hWnd) return focusDefault;
    // Centred only when nothing else asked for a place: not the template (a
    // position or a centring style), not an owner, not OnInitDialog.
    RECT after;
    ::GetWindowRect(m_hWnd, &after);
    if (m_centreIfUnmoved && !::GetWindow(m_hWnd, GW_OWNER) && SameRect(before, after) &&
        !visibleBefore && !::IsWindowVisible(m_hWnd)) {
        CentreInWorkArea(m_hWnd);
    }
    return focusDefault;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    CDataExchange exchange(this, saveAndValidate);
    DoDataExchange(&exchange);
    return exchange.Failed() ? FALSE : TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::EndDialog(int result) {
    m_nModalResult = result;
    if (!m_modalRunning) return;
    m_modalRunning = false;
    // Give activation back to the owner before hiding, so it does not pass to another program.
    if (m_ownerDisabled) {
        ::EnableWindow(m_owner, TRUE);
        m_ownerDisabled = false;
    }
    // Wakes our loop if EndDialog came from inside another loop (a message box).
    // The window stays as it is until DoModal destroys it: hiding it first
    // costs a second under an X server without a window manager.
    if (m_hWnd) ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_hWnd) return 0;
    m_defaultPending = true;
    m_defaultMessage = message;
    LRESULT result = ::DefDlgProcA(m_hWnd, message, wParam, lParam);
    m_defaultPending = false;
    return result;
}

bool CDialog::RouteUnhandledCommand(WPARAM wParam, LPARAM lParam, LRESULT& result) {
    CWinApp* app = AfxGetApp();
    if (!app || HIWORD(wParam) != 0) return false;
    // Commands the dialog does not handle (ID_HELP) go to the application object.
    CWnd* previous = app->m_pHelpSource;
    app->m_pHelpSource = this;
    bool handled = app->DispatchToMap(WM_COMMAND, wParam, lParam, MessageSource::Own, result);
    app->m_pHelpSource = previous;
    return handled;
}

LRESULT CDialog::OnHelpMessage(WPARAM, LPARAM) {
    bool modifier = ::GetKeyState(VK_SHIFT) < 0 || ::GetKeyState(VK_CONTROL) < 0 || ::GetKeyState(VK_MENU) < 0;
    if (!modifier) ::SendMessageA(m_hWnd, WM_COMMAND, ID_HELP, 0);
    return TRUE;
}
