// The entry makers of the message maps. Each takes the handler as a
// member-function pointer template argument and makes a thunk that unpacks
// wParam and lParam into the handler's typed arguments:
//
//   OnPaintEntry<&C::OnPaint>()                    WM_PAINT             void OnPaint()
//   OnQueryDragIconEntry<&C::OnQueryDragIcon>()    WM_QUERYDRAGICON     HCURSOR OnQueryDragIcon()
//   OnEraseBkgndEntry<&C::OnEraseBkgnd>()          WM_ERASEBKGND        BOOL OnEraseBkgnd(CDC* dc)
//   OnSetCursorEntry<&C::OnSetCursor>()            WM_SETCURSOR         BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message)
//   OnMouseMoveEntry<&C::OnMouseMove>()            WM_MOUSEMOVE         void OnMouseMove(UINT flags, CPoint point)
//   OnTimerEntry<&C::OnTimer>()                    WM_TIMER             void OnTimer(UINT_PTR id)
//   OnCommandEntry<ID, &C::Handler>()              WM_COMMAND, id ID, code 0 (menu, accelerator, ID_HELP)   void Handler()
//   OnClickedEntry<ID, &C::Handler>()              WM_COMMAND, BN_CLICKED from control ID                   void Handler()
//   OnNotifyEntry<ID, CODE, &C::Handler>()         WM_COMMAND, notification CODE from control ID            void Handler()
//   OnReflectedCtlColorEntry<&C::CtlColor>()       reflected WM_CTLCOLORSTATIC   HBRUSH CtlColor(CDC* dc, UINT ctlColor)
//                                                  (ctlColor is CTLCOLOR_STATIC; a null brush lets the parent answer)
//   OnReflectedClickEntry<&C::OnReflectedClick>()  reflected WM_COMMAND/STN_CLICKED   void OnReflectedClick()
//   OnReflectedNotifyEntry<CODE, &C::Handler>()    reflected WM_COMMAND with CODE     void Handler()
//   OnMessageEntry<MSG, &C::Handler>()             any message          LRESULT Handler(WPARAM, LPARAM)
//
// The handler may be a member of C or of one of its bases; C must derive
// from CCmdTarget (for windows: from CWnd).
#pragma once
#include <windows.h>
#include "gdi.h"
#include "message_map.h"
#include "wnd.h"

namespace message_detail {
template <class M> struct HandlerTraits;
template <class T, class R, class... A> struct HandlerTraits<R (T::*)(A...)> { using Class = T; };
template <class T, class R, class... A> struct HandlerTraits<R (T::*)(A...) noexcept> { using Class = T; };

template <auto Handler>
auto* Self(CCmdTarget* target) {
    return static_cast<typename HandlerTraits<decltype(Handler)>::Class*>(target);
}

template <auto H> LRESULT NoArguments(CCmdTarget* t, WPARAM, LPARAM) {
    (Self<H>(t)->*H)();
    return 0;
}
template <auto H> LRESULT QueryDragIcon(CCmdTarget* t, WPARAM, LPARAM) {
    return reinterpret_cast<LRESULT>((Self<H>(t)->*H)());
}
template <auto H> LRESULT EraseBkgnd(CCmdTarget* t, WPARAM w, LPARAM) {
    CDC dc(reinterpret_cast<HDC>(w));
    return static_cast<LRESULT>((Self<H>(t)->*H)(&dc));
}
template <auto H> LRESULT SetCursor(CCmdTarget* t, WPARAM w, LPARAM l) {
    return static_cast<LRESULT>((Self<H>(t)->*H)(CWnd::FromHandle(reinterpret_cast<HWND>(w)),
                                                   static_cast<UINT>(LOWORD(l)), static_cast<UINT>(HIWORD(l))));
}
template <auto H> LRESULT MouseMove(CCmdTarget* t, WPARAM w, LPARAM l) {
    // Signed: a captured pointer left of or above the window gives negative coordinates.
    (Self<H>(t)->*H)(static_cast<UINT>(w), CPoint(static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))));
    return 0;
}
template <auto H> LRESULT Timer(CCmdTarget* t, WPARAM w, LPARAM) {
    (Self<H>(t)->*H)(static_cast<UINT_PTR>(w));
    return 0;
}
template <auto H> LRESULT CtlColor(CCmdTarget* t, WPARAM w, LPARAM) {
    CDC dc(reinterpret_cast<HDC>(w));
    return reinterpret_cast<LRESULT>((Self<H>(t)->*H)(&dc, static_cast<UINT>(CTLCOLOR_STATIC)));
}
template <auto H> LRESULT Raw(CCmdTarget* t, WPARAM w, LPARAM l) {
    return (Self<H>(t)->*H)(w, l);
}
}  // namespace message_detail

template <auto H> constexpr MessageEntry OnPaintEntry() {
    return {WM_PAINT, 0, 0, MessageSource::Own, &message_detail::NoArguments<H>};
}
template <auto H> constexpr MessageEntry OnQueryDragIconEntry() {
    return {WM_QUERYDRAGICON, 0, 0, MessageSource::Own, &message_detail::QueryDragIcon<H>};
}
template <auto H> constexpr MessageEntry OnEraseBkgndEntry() {
    return {WM_ERASEBKGND, 0, 0, MessageSource::Own, &message_detail::EraseBkgnd<H>};
}
template <auto H> constexpr MessageEntry OnSetCursorEntry() {
    return {WM_SETCURSOR, 0, 0, MessageSource::Own, &message_detail::SetCursor<H>};
}
template <auto H> constexpr MessageEntry OnMouseMoveEntry() {
    return {WM_MOUSEMOVE, 0, 0, MessageSource::Own, &message_detail::MouseMove<H>};
}
template <auto H> constexpr MessageEntry OnTimerEntry() {
    return {WM_TIMER, 0, 0, MessageSource::Own, &message_detail::Timer<H>};
}
template <UINT Id, auto H> constexpr MessageEntry OnCommandEntry() {
    return {WM_COMMAND, 0, Id, MessageSource::Own, &message_detail::NoArguments<H>};
}
template <UINT Id, auto H> constexpr MessageEntry OnClickedEntry() {
    return {WM_COMMAND, BN_CLICKED, Id, MessageSource::Own, &message_detail::NoArguments<H>};
}
template <UINT Id, UINT Code, auto H> constexpr MessageEntry OnNotifyEntry() {
    return {WM_COMMAND, Code, Id, MessageSource::Own, &message_detail::NoArguments<H>};
}
template <auto H> constexpr MessageEntry OnReflectedCtlColorEntry() {
    return {WM_CTLCOLORSTATIC, 0, 0, MessageSource::Reflected, &message_detail::CtlColor<H>};
}
template <UINT Code, auto H> constexpr MessageEntry OnReflectedNotifyEntry() {
    return {WM_COMMAND, Code, 0, MessageSource::Reflected, &message_detail::NoArguments<H>};
}
template <auto H> constexpr MessageEntry OnReflectedClickEntry() {
    return OnReflectedNotifyEntry<STN_CLICKED, H>();
}
template <UINT Msg, auto H> constexpr MessageEntry OnMessageEntry() {
    return {Msg, 0, 0, MessageSource::Own, &message_detail::Raw<H>};
}
