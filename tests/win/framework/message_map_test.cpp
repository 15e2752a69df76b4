// Message maps on a subclassed control: the chain, the typed arguments,
// Default, and the binding's life.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support.h"

namespace {

class BaseProbe : public CStatic {
public:
    static const MessageMap* GetThisMessageMap();
    const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

    void OnTimer(UINT_PTR id) { log.push_back("base timer " + std::to_string(id)); }
    LRESULT OnApp(WPARAM w, LPARAM) {
        log.push_back("base app");
        return 100 + static_cast<LRESULT>(w);
    }

    std::vector<std::string> log;
};

const MessageMap* BaseProbe::GetThisMessageMap() {
    static const MessageEntry entries[] = {
        OnTimerEntry<&BaseProbe::OnTimer>(),
        OnMessageEntry<WM_APP, &BaseProbe::OnApp>(),
    };
    static const MessageMap map = MakeMessageMap<CStatic>(entries);
    return &map;
}

class DerivedProbe : public BaseProbe {
public:
    static const MessageMap* GetThisMessageMap();
    const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

    LRESULT OnAppDerived(WPARAM w, LPARAM) {
        log.push_back("derived app");
        return 200 + static_cast<LRESULT>(w);
    }
    void OnMouseMove(UINT flags, CPoint point) {
        log.push_back("move " + std::to_string(flags) + " " + std::to_string(point.x) + "," + std::to_string(point.y));
    }
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) {
        cursorWnd = wnd ? wnd->m_hWnd : nullptr;
        log.push_back("cursor " + std::to_string(hitTest) + " " + std::to_string(message));
        return TRUE;
    }
    BOOL OnEraseBkgnd(CDC* dc) {
        erasedDc = dc->m_hDC;
        return 5;
    }
    // Default() hands the message being handled to the static control itself.
    LRESULT OnGetTextLength(WPARAM, LPARAM) { return 1000 + Default(); }

    HWND cursorWnd = nullptr;
    HDC erasedDc = nullptr;
};

const MessageMap* DerivedProbe::GetThisMessageMap() {
    static const MessageEntry entries[] = {
        OnMessageEntry<WM_APP, &DerivedProbe::OnAppDerived>(),
        OnMouseMoveEntry<&DerivedProbe::OnMouseMove>(),
        OnSetCursorEntry<&DerivedProbe::OnSetCursor>(),
        OnEraseBkgndEntry<&DerivedProbe::OnEraseBkgnd>(),
        OnMessageEntry<WM_GETTEXTLENGTH, &DerivedProbe::OnGetTextLength>(),
    };
    static const MessageMap map = MakeMessageMap<BaseProbe>(entries);
    return &map;
}

// A hidden top-level window with one static control.
struct Host {
    HWND parent;
    HWND control;
    Host() {
        parent = ::CreateWindowExA(0, "STATIC", "host", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                                   ::GetModuleHandleA(nullptr), nullptr);
        control = ::CreateWindowExA(0, "STATIC", "probe text", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, parent,
                                    reinterpret_cast<HMENU>(11), ::GetModuleHandleA(nullptr), nullptr);
    }
    ~Host() { ::DestroyWindow(parent); }
};

TEST(MessageMap, ChainedMapsDispatchToTheRightHandler) {
    Host host;
    ASSERT_NE(host.control, nullptr);
    DerivedProbe probe;
    ASSERT_TRUE(probe.SubclassWindow(host.control));

    // Only the base has WM_TIMER: found through the chain.
    ::SendMessageA(host.control, WM_TIMER, 7, 0);
    // Both have WM_APP: the derived entry wins and the base's does not run.
    EXPECT_EQ(::SendMessageA(host.control, WM_APP, 5, 0), 205);
    // Typed arguments: flags and a signed point; the hovered window, hit test and mouse message.
    ::SendMessageA(host.control, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(-3), 40));
    EXPECT_EQ(::SendMessageA(host.control, WM_SETCURSOR, reinterpret_cast<WPARAM>(host.parent),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              TRUE);
    EXPECT_EQ(probe.cursorWnd, host.parent);
    EXPECT_EQ(probe.log, (std::vector<std::string>{"base timer 7", "derived app",
                                                   "move " + std::to_string(MK_LBUTTON) + " -3,40",
                                                   "cursor " + std::to_string(HTCLIENT) + " " +
                                                       std::to_string(WM_MOUSEMOVE)}));

    HDC dc = ::GetDC(host.control);
    EXPECT_EQ(::SendMessageA(host.control, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 5);
    EXPECT_EQ(probe.erasedDc, dc);
    ::ReleaseDC(host.control, dc);

    EXPECT_EQ(::SendMessageA(host.control, WM_GETTEXTLENGTH, 0, 0), 1000 + 10);
    // No entry: the control's own procedure answers.
    char text[32] = {};
    ::GetWindowTextA(host.control, text, sizeof(text));
    EXPECT_STREQ(text, "probe text");
    EXPECT_EQ(CWnd::FromHandlePermanent(host.control), &probe);
}

TEST(MessageMap, BindingEndsWithTheWindowOrWithTheObject) {
    Host host;
    auto original = ::GetWindowLongPtrA(host.control, GWLP_WNDPROC);
    {
        DerivedProbe probe;
        ASSERT_TRUE(probe.SubclassWindow(host.control));
        EXPECT_NE(::GetWindowLongPtrA(host.control, GWLP_WNDPROC), original);
        // A second object cannot take a bound window.
        BaseProbe other;
        EXPECT_FALSE(other.SubclassWindow(host.control));
        EXPECT_EQ(other.m_hWnd, nullptr);
    }
    // The object went first: the control has its own procedure back and answers alone.
    EXPECT_EQ(::GetWindowLongPtrA(host.control, GWLP_WNDPROC), original);
    EXPECT_EQ(CWnd::FromHandlePermanent(host.control), nullptr);
    EXPECT_EQ(::SendMessageA(host.control, WM_APP, 5, 0), 0);

    // The window goes first: the object lets go of it.
    DerivedProbe probe;
    ASSERT_TRUE(probe.SubclassWindow(host.control));
    ::DestroyWindow(host.control);
    EXPECT_EQ(probe.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(host.control), nullptr);
}

TEST(MessageMap, UnboundHandlesGetWrappers) {
    Host host;
    CWnd* wrapper = CWnd::FromHandle(host.control);
    ASSERT_NE(wrapper, nullptr);
    EXPECT_EQ(wrapper->m_hWnd, host.control);
    EXPECT_EQ(CWnd::FromHandle(host.control), wrapper);
    EXPECT_EQ(CWnd::FromHandlePermanent(host.control), nullptr);
    EXPECT_EQ(wrapper->GetParent()->m_hWnd, host.parent);
    CString text;
    wrapper->GetWindowText(text);
    EXPECT_EQ(text, "probe text");
    EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
}

}  // namespace
