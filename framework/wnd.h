// CWnd: a C++ object bound to a window handle, with a message map.
//
// Binding: a control of a dialog is bound by SubclassWindow (DDX_Control does
// it): the object's window procedure replaces the control's, and messages with
// no entry in the object's map go on to the control's own procedure. A dialog
// is bound by CDialog itself. A bound object is found from its handle with
// FromHandlePermanent; the binding ends when the window is destroyed
// (WM_NCDESTROY) or the object is destroyed, whichever comes first.
//
// Reflection: a window that receives WM_COMMAND from a child control, or one
// of the WM_CTLCOLOR* messages for it, first hands it to the child's bound
// object (its Reflected entries). A handled reflected command is not handled
// again by the parent; a non-null brush from the child is the parent's answer.
#pragma once
#include <windows.h>
#include "cstring.h"
#include "gdi.h"
#include "message_map.h"

class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    // Unbinds (restores the control's own window procedure) if still bound;
    // the window itself is left alone.
    ~CWnd() override;

    static const MessageMap* GetThisMessageMap();
    const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // Called by SubclassWindow with m_hWnd already set and before the
    // window's messages reach the message map.
    virtual void PreSubclassWindow();
    // Called by the modal loop for each message addressed to this window or
    // to one of its children, before dispatch; TRUE consumes the message.
    virtual BOOL PreTranslateMessage(MSG* msg);
    virtual BOOL DestroyWindow();

    BOOL SubclassWindow(HWND hwnd);               // FALSE if hwnd is no window or already bound
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();                      // restores the window's own procedure

    // The bound object of a handle, or null.
    static CWnd* FromHandlePermanent(HWND hwnd);
    // The bound object, else a framework-owned unbound wrapper of the handle
    // that lives for the thread's life; null for a null handle.
    static CWnd* FromHandle(HWND hwnd);

    // Passes the message being handled to the window's default processing:
    // the control's own window procedure, or the dialog manager for a dialog.
    LRESULT Default();

    int GetWindowText(CString& text) const;
    int GetWindowTextLength() const;
    void SetWindowText(const char* text);
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL ShowWindow(int command);
    BOOL IsWindowVisible() const;
    void Invalidate(BOOL erase = TRUE);
    void InvalidateRect(const RECT* rect, BOOL erase = TRUE);
    void UpdateWindow();
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr);
    BOOL KillTimer(UINT_PTR id);
    void GetClientRect(LPRECT rect) const;
    void GetWindowRect(LPRECT rect) const;
    void ClientToScreen(LPPOINT point) const;
    void ClientToScreen(LPRECT rect) const;
    void ScreenToClient(LPPOINT point) const;
    void ScreenToClient(LPRECT rect) const;
    // The parent window (FromHandle, so never dangling), or null.
    CWnd* GetParent() const;
    CWnd* GetDlgItem(int id) const;               // FromHandle of the child, or null
    int GetDlgCtrlID() const;
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
    BOOL IsWindow() const;
    CWnd* SetFocus();
    void SetFont(HFONT font, BOOL redraw = TRUE);
    HFONT GetFont() const;
    // GetDC gives a CDC that ReleaseDC releases and deletes.
    CDC* GetDC();
    int ReleaseDC(CDC* dc);
    // Captioned with the application's title when caption is null.
    int MessageBox(const char* text, const char* caption = nullptr, UINT type = MB_OK);

    // Help context for F1 on this window (CDialog: 0x20000 + its template).
    virtual DWORD GetHelpContext() const { return 0; }

    HWND m_hWnd = nullptr;

protected:
    // Everything a bound window receives goes through here (the map, the
    // reflection), then to DefWindowProc when nothing handled it.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Reflection, then the map; true when handled.
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // A command that neither a child nor this map handled (CDialog passes it
    // to the application object).
    virtual bool RouteUnhandledCommand(WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The window is gone: called after the binding ended at WM_NCDESTROY.
    virtual void PostNcDestroy() {}

    // The message being handled, for Default.
    struct CurrentMessage {
        UINT message = 0;
        WPARAM wParam = 0;
        LPARAM lParam = 0;
    };
    CurrentMessage m_current;

    void BindHandle(HWND hwnd);       // sets m_hWnd and the lookup property
    void UnbindHandle();              // clears both, and the application's main window if it was this

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    WNDPROC m_pfnSuper = nullptr;
};
