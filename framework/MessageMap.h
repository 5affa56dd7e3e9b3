// Message maps: each window class lists the messages it handles in a static
// table, declared with DECLARE_MESSAGE_MAP() and defined with
// BEGIN_MESSAGE_MAP(Class, Base) ... END_MESSAGE_MAP(). Dispatch walks the
// tables derived-first along the base chain; the first matching entry handles
// the message, and a message no table lists goes to the virtual
// DefWindowProc.
//
// Every entry carries a small thunk instantiated for the handler member: it
// unpacks WPARAM/LPARAM into the handler's typed parameters, so handlers
// never see raw message parameters (ON_MESSAGE excepted), and a handler with
// the wrong signature fails to compile.
#pragma once

#include "framework/CDC.h"

#include <windows.h>

#include <type_traits>

class CWnd;

using MessageThunk = LRESULT (*)(CWnd* wnd, UINT message, WPARAM wParam, LPARAM lParam);

struct MessageMapEntry {
    UINT message; // 0 ends the table
    UINT code;    // WM_COMMAND: the notification code that matches
    UINT idFirst; // WM_COMMAND: first control or command id
    UINT idLast;  // WM_COMMAND: last id, inclusive
    MessageThunk thunk;
};

struct MessageMap {
    const MessageMap* (*getBaseMap)();
    const MessageMapEntry* entries;
};

namespace framework_detail {

template <class Member> struct MemberClass;
template <class C, class R, class... A> struct MemberClass<R (C::*)(A...)> { using type = C; };

template <auto Handler> using ClassOf = typename MemberClass<decltype(Handler)>::type;

template <auto Handler, class Signature> constexpr bool HasSignature() {
    using C = ClassOf<Handler>;
    return std::is_same_v<decltype(Handler), Signature C::*>;
}

inline POINT PointFrom(LPARAM lParam) {
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

template <auto H> LRESULT VoidThunk(CWnd* w, UINT, WPARAM, LPARAM) {
    static_assert(HasSignature<H, void()>(), "handler must be void Handler()");
    (static_cast<ClassOf<H>*>(w)->*H)();
    return 0;
}

template <auto H> LRESULT CommandRangeThunk(CWnd* w, UINT, WPARAM wParam, LPARAM) {
    static_assert(HasSignature<H, void(UINT)>(), "handler must be void Handler(UINT id)");
    (static_cast<ClassOf<H>*>(w)->*H)(LOWORD(wParam));
    return 0;
}

template <auto H> LRESULT RawThunk(CWnd* w, UINT, WPARAM wParam, LPARAM lParam) {
    static_assert(HasSignature<H, LRESULT(WPARAM, LPARAM)>(),
                  "handler must be LRESULT Handler(WPARAM, LPARAM)");
    return (static_cast<ClassOf<H>*>(w)->*H)(wParam, lParam);
}

template <auto H> LRESULT MoveThunk(CWnd* w, UINT, WPARAM, LPARAM lParam) {
    static_assert(HasSignature<H, void(int, int)>(), "OnMove must be void OnMove(int, int)");
    (static_cast<ClassOf<H>*>(w)->*H)(static_cast<short>(LOWORD(lParam)),
                                      static_cast<short>(HIWORD(lParam)));
    return 0;
}

template <auto H> LRESULT ActivateAppThunk(CWnd* w, UINT, WPARAM wParam, LPARAM lParam) {
    static_assert(HasSignature<H, void(BOOL, DWORD)>(),
                  "OnActivateApp must be void OnActivateApp(BOOL, DWORD)");
    (static_cast<ClassOf<H>*>(w)->*H)(static_cast<BOOL>(wParam), static_cast<DWORD>(lParam));
    return 0;
}

template <auto H> LRESULT TimerThunk(CWnd* w, UINT, WPARAM wParam, LPARAM) {
    static_assert(HasSignature<H, void(UINT_PTR)>(), "OnTimer must be void OnTimer(UINT_PTR)");
    (static_cast<ClassOf<H>*>(w)->*H)(static_cast<UINT_PTR>(wParam));
    return 0;
}

template <auto H> LRESULT NcHitTestThunk(CWnd* w, UINT, WPARAM, LPARAM lParam) {
    static_assert(HasSignature<H, LRESULT(POINT)>(),
                  "OnNcHitTest must be LRESULT OnNcHitTest(POINT)");
    return (static_cast<ClassOf<H>*>(w)->*H)(PointFrom(lParam));
}

template <auto H> LRESULT HelpInfoThunk(CWnd* w, UINT, WPARAM, LPARAM lParam) {
    static_assert(HasSignature<H, BOOL(HELPINFO*)>(),
                  "OnHelpInfo must be BOOL OnHelpInfo(HELPINFO*)");
    return (static_cast<ClassOf<H>*>(w)->*H)(reinterpret_cast<HELPINFO*>(lParam));
}

template <auto H> LRESULT MouseThunk(CWnd* w, UINT, WPARAM wParam, LPARAM lParam) {
    static_assert(HasSignature<H, void(UINT, POINT)>(),
                  "mouse handlers must be void Handler(UINT flags, POINT point)");
    (static_cast<ClassOf<H>*>(w)->*H)(static_cast<UINT>(wParam), PointFrom(lParam));
    return 0;
}

template <auto H> LRESULT CreateThunk(CWnd* w, UINT, WPARAM, LPARAM lParam) {
    static_assert(HasSignature<H, int(LPCREATESTRUCTW)>(),
                  "OnCreate must be int OnCreate(LPCREATESTRUCTW)");
    return (static_cast<ClassOf<H>*>(w)->*H)(reinterpret_cast<LPCREATESTRUCTW>(lParam));
}

template <auto H> LRESULT KeyThunk(CWnd* w, UINT, WPARAM wParam, LPARAM lParam) {
    static_assert(HasSignature<H, void(UINT, UINT, UINT)>(),
                  "key handlers must be void Handler(UINT key, UINT repeat, UINT flags)");
    (static_cast<ClassOf<H>*>(w)->*H)(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
    return 0;
}

template <auto H> LRESULT GetDlgCodeThunk(CWnd* w, UINT, WPARAM, LPARAM) {
    static_assert(HasSignature<H, UINT()>(), "OnGetDlgCode must be UINT OnGetDlgCode()");
    return (static_cast<ClassOf<H>*>(w)->*H)();
}

template <auto H> LRESULT EraseBkgndThunk(CWnd* w, UINT, WPARAM wParam, LPARAM) {
    static_assert(HasSignature<H, BOOL(CDC*)>(), "OnEraseBkgnd must be BOOL OnEraseBkgnd(CDC*)");
    CDC dc(reinterpret_cast<HDC>(wParam)); // borrowed from the message
    return (static_cast<ClassOf<H>*>(w)->*H)(&dc);
}

} // namespace framework_detail

#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const MessageMap* GetThisMessageMap();                                                  \
    const MessageMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const MessageMap* theClass::GetMessageMap() const {                                            \
        return GetThisMessageMap();                                                                \
    }                                                                                              \
    const MessageMap* theClass::GetThisMessageMap() {                                              \
        using ThisClass = theClass;                                                                \
        using TheBaseClass = baseClass;                                                            \
        static const MessageMapEntry entries[] = {

#define END_MESSAGE_MAP()                                                                          \
    { 0, 0, 0, 0, nullptr }                                                                        \
    }                                                                                              \
    ;                                                                                              \
    static const MessageMap map = {&TheBaseClass::GetThisMessageMap, entries};                     \
    return &map;                                                                                   \
    }

#define FRAMEWORK_ENTRY(msg, thunk, handler)                                                       \
    {msg, 0, 0, 0, &framework_detail::thunk<&ThisClass::handler>},

#define ON_WM_PAINT() FRAMEWORK_ENTRY(WM_PAINT, VoidThunk, OnPaint)
#define ON_WM_CLOSE() FRAMEWORK_ENTRY(WM_CLOSE, VoidThunk, OnClose)
#define ON_WM_MOVE() FRAMEWORK_ENTRY(WM_MOVE, MoveThunk, OnMove)
#define ON_WM_ACTIVATEAPP() FRAMEWORK_ENTRY(WM_ACTIVATEAPP, ActivateAppThunk, OnActivateApp)
#define ON_WM_TIMER() FRAMEWORK_ENTRY(WM_TIMER, TimerThunk, OnTimer)
#define ON_WM_NCHITTEST() FRAMEWORK_ENTRY(WM_NCHITTEST, NcHitTestThunk, OnNcHitTest)
#define ON_WM_HELPINFO() FRAMEWORK_ENTRY(WM_HELP, HelpInfoThunk, OnHelpInfo)
#define ON_WM_ERASEBKGND() FRAMEWORK_ENTRY(WM_ERASEBKGND, EraseBkgndThunk, OnEraseBkgnd)
#define ON_WM_MOUSEMOVE() FRAMEWORK_ENTRY(WM_MOUSEMOVE, MouseThunk, OnMouseMove)
#define ON_WM_LBUTTONDOWN() FRAMEWORK_ENTRY(WM_LBUTTONDOWN, MouseThunk, OnLButtonDown)
#define ON_WM_LBUTTONUP() FRAMEWORK_ENTRY(WM_LBUTTONUP, MouseThunk, OnLButtonUp)
#define ON_WM_CREATE() FRAMEWORK_ENTRY(WM_CREATE, CreateThunk, OnCreate)
#define ON_WM_KEYDOWN() FRAMEWORK_ENTRY(WM_KEYDOWN, KeyThunk, OnKeyDown)
#define ON_WM_GETDLGCODE() FRAMEWORK_ENTRY(WM_GETDLGCODE, GetDlgCodeThunk, OnGetDlgCode)

// Any message, handled as LRESULT handler(WPARAM, LPARAM).
#define ON_MESSAGE(msg, handler) {msg, 0, 0, 0, &framework_detail::RawThunk<&ThisClass::handler>},

// WM_COMMAND with notification code 0 (a click, a menu command, a posted
// command) from one id, handled as void handler().
#define ON_COMMAND(id, handler)                                                                    \
    {WM_COMMAND, 0, id, id, &framework_detail::VoidThunk<&ThisClass::handler>},

// WM_COMMAND with notification code 0 from ids first..last, handled as
// void handler(UINT id).
#define ON_COMMAND_RANGE(first, last, handler)                                                     \
    {WM_COMMAND, 0, first, last, &framework_detail::CommandRangeThunk<&ThisClass::handler>},
