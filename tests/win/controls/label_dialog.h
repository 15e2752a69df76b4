// A real modal dialog from an in-memory template with static controls bound to link labels;
// a test runs its body inside the dialog's modal loop, then the dialog ends itself.
#pragma once
#include <functional>
#include <map>
#include <vector>

#include "../../../controls/link_label.h"

// The label with its state open to the tests.
class ProbeLabel : public CLinkLabel {
public:
    using CLinkLabel::idleColor;
    using CLinkLabel::followedColor;
    using CLinkLabel::hotColor;
    using CLinkLabel::isHot;
    using CLinkLabel::isFollowed;
    using CLinkLabel::underlineRule;
    using CLinkLabel::target;
    using CLinkLabel::tipText;
    using CLinkLabel::descriptiveTip;
    using CLinkLabel::fontUnderlined;
    using CLinkLabel::fontPlain;
    using CLinkLabel::handCursor;
    using CLinkLabel::tip;
    using CLinkLabel::OpenTarget;
    using CLinkLabel::ReadRegDefault;
};

enum : int {
    WebId = 1006,
    MailId = 1007,
    RightId = 1008,   // SS_RIGHT | SS_CENTERIMAGE, taller than its text
    EmptyId = 1009,   // no template text
};

constexpr const char* WebText = "kelvara.example/releases";
constexpr const char* MailText = "team@kelvara.example";
constexpr const char* WebTarget = "http://kelvara.example/releases";
constexpr const char* MailTarget = "mailto:team@kelvara.example";

class LabelDialog : public CDialog {
public:
    LabelDialog();

    static const MessageMap* GetThisMessageMap();
    const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

    // Runs before the labels are bound, then body once the dialog is up; returns DoModal's result.
    INT_PTR Run(std::function<void(LabelDialog&)> body,
                std::function<void(LabelDialog&)> beforeBinding = nullptr);

    ProbeLabel web;
    ProbeLabel mail;
    ProbeLabel right;
    ProbeLabel empty;
    // Each control's rectangle in the dialog's client area as the template made it.
    std::map<int, CRect> templateRects;
    std::map<int, DWORD> templateStyles;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    LRESULT OnRunBody(WPARAM, LPARAM);

private:
    std::vector<WORD> dialogTemplate;
    std::function<void(LabelDialog&)> body;
    std::function<void(LabelDialog&)> beforeBinding;
};

// Dispatches this thread's messages for about ms milliseconds.
void Pump(DWORD ms);
// The label's rectangle in screen coordinates, and a point of it.
CRect ScreenRect(CWnd& wnd);
// A WM_TIMER with id 100 waiting for wnd after ms milliseconds, without taking it.
bool HoverTimerRunning(CWnd& wnd, DWORD ms = 250);
// Whether the handle still names a live cursor or icon.
bool CursorAlive(HCURSOR cursor);
