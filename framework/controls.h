// Thin control classes over the system's controls, and the tooltip control.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include "wnd.h"

class CStatic : public CWnd {
public:
    static const MessageMap* GetThisMessageMap();
    const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }
};

class CButton : public CWnd {
public:
    static const MessageMap* GetThisMessageMap();
    const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }
};

class CEdit : public CWnd {
public:
    static const MessageMap* GetThisMessageMap();
    const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }
    void SetSel(int start, int end, BOOL noScroll = FALSE);
};

// A tooltip window (TOOLTIPS_CLASS) created and owned by the object: it is
// destroyed with the object, and the object lets go of it when the system
// destroys it first (with its owner). Tools are the caller's; mouse messages
// reach it through RelayEvent, not by subclassing the tool windows.
class CToolTipCtrl : public CWnd {
public:
    CToolTipCtrl() = default;
    ~CToolTipCtrl() override;   // destroys the tooltip window if it still exists

    static const MessageMap* GetThisMessageMap();
    const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

    // A tooltip owned by parent, with WS_POPUP added to style.
    BOOL Create(CWnd* parent, DWORD style = 0);
    // With a rectangle or a non-zero id, the tool is that rectangle of wnd's
    // client area (all of it without a rectangle) under id; with neither, the
    // tool is wnd's whole window. The other calls name a tool the same way:
    // id 0 is the whole-window tool. The tooltip copies the text; null asks
    // wnd with TTN_GETDISPINFO.
    BOOL AddTool(CWnd* wnd, const char* text, const RECT* rect = nullptr, UINT_PTR id = 0);
    // TTM_GETTOOLINFOA for tool id of wnd; TRUE when the tooltip knows the
    // tool. On return info.lpszText points into a framework buffer.
    BOOL GetToolInfo(TOOLINFOA& info, CWnd* wnd, UINT_PTR id = 0) const;
    void UpdateTipText(const char* text, CWnd* wnd, UINT_PTR id = 0);
    // The current text of tool id of wnd (TTM_GETTEXTA).
    CString GetText(CWnd* wnd, UINT_PTR id = 0) const;
    void RelayEvent(MSG* msg);
    void Activate(BOOL activate);
};
