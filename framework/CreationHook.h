#pragma once

#include <windows.h>

class CWnd;

// Subclasses the next window of the expected class that this thread creates,
// from inside a CBT hook: HCBT_CREATEWND comes before WM_NCCREATE, so the
// object's PreSubclassWindow and message map see the window's whole life.
// The class check skips windows the system creates on the way (an IME
// window, say). Scopes nest; the hook stays only as long as it is needed.
class CreationHook {
public:
    CreationHook(CWnd* wnd, LPCWSTR expectedClass);
    ~CreationHook();
    CreationHook(const CreationHook&) = delete;
    CreationHook& operator=(const CreationHook&) = delete;

private:
    struct State {
        CWnd* pending;
        LPCWSTR expectedClass;
        bool unhookWhenDone;
    };

    static LRESULT CALLBACK Filter(int code, WPARAM wParam, LPARAM lParam);

    static State s_state;
    static HHOOK s_hook;
    State m_saved;
};
