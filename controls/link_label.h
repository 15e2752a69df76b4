// A static text of a dialog shown as a hyperlink: link colours, underline while hovered, the
// hand cursor, a tooltip naming the target, and a click that opens the target.
#pragma once
#include "framework/framework.h"
#include "link_logic.h"
#include "link_platform.h"

class CLinkLabel : public CStatic {
public:
    CLinkLabel();
    ~CLinkLabel() override;

    static const MessageMap* GetThisMessageMap();
    const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

    // Attaching, called by data exchange once the window handle is set.
    void PreSubclassWindow() override;
    // Stops the hover timer before the window goes.
    BOOL DestroyWindow() override;
    // Hands every message for the label to its tooltip; consumes nothing itself.
    BOOL PreTranslateMessage(MSG* msg) override;

    // Each may be called before attaching: it then only stores its value.
    void SetTarget(const char* text);
    void EnableDescriptiveTip(BOOL descriptive);
    void MarkFollowed(BOOL followed);
    // Takes ownership of cursor; none loads the hand cursor afresh.
    void UseCursor(HCURSOR cursor);
    // UnderlineWhileHot, UnderlineNever or UnderlineAlways.
    void SetUnderlineRule(int rule);

    // Where the label's clicks go: this label's own platform if set, else the one set for all
    // labels, else the real system. Tests put a recording platform here.
    void SetPlatform(LinkPlatform* platform) { this->platform = platform; }
    static void SetDefaultPlatform(LinkPlatform* platform);

protected:
    HBRUSH CtlColor(CDC* dc, UINT ctlColor);
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    void OnMouseMove(UINT flags, CPoint point);
    void OnTimer(UINT_PTR id);
    void OnReflectedClick();
    BOOL OnEraseBkgnd(CDC* dc);

    void FitToText();
    void LoadHandCursor();
    void ComposeTipText(const char* text);

    UINT OpenTarget(const char* link, int show);
    LONG ReadRegDefault(HKEY root, const char* subKey, char* out);
    void ShowOpenError(UINT code);

    LinkPlatform& Platform();

    COLORREF idleColor;
    COLORREF followedColor;
    COLORREF hotColor;
    BOOL isHot;
    BOOL isFollowed;
    int underlineRule;
    BOOL fitToText;
    CString target;
    CString tipText;
    BOOL descriptiveTip;
    CFont fontUnderlined;
    CFont fontPlain;
    HCURSOR handCursor;
    CToolTipCtrl tip;
    UINT hoverTimerId;

private:
    LinkPlatform* platform = nullptr;
};
