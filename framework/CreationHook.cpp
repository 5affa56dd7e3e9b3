#include "framework/CreationHook.h"

#include "framework/CWnd.h"

#include <utility>

namespace {

bool ClassNameIs(HWND hWnd, LPCWSTR className) {
    wchar_t name[64] = {};
    return ::GetClassNameW(hWnd, name, ARRAYSIZE(name)) > 0 && ::lstrcmpiW(name, className) == 0;
}

} // namespace

CreationHook::State CreationHook::s_state = {nullptr, nullptr, false};
HHOOK CreationHook::s_hook = nullptr;

CreationHook::CreationHook(CWnd* wnd, LPCWSTR expectedClass) : m_saved(s_state) {
    s_state = State{wnd, expectedClass, false};
    if (s_hook == nullptr) {
        s_hook = ::SetWindowsHookExW(WH_CBT, Filter, nullptr, ::GetCurrentThreadId());
        s_state.unhookWhenDone = true;
    }
}

CreationHook::~CreationHook() {
    if (s_state.unhookWhenDone && s_hook != nullptr) {
        ::UnhookWindowsHookEx(std::exchange(s_hook, nullptr));
    }
    s_state = m_saved;
}

LRESULT CALLBACK CreationHook::Filter(int code, WPARAM wParam, LPARAM lParam) {
    HWND hWnd = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_CREATEWND && s_state.pending != nullptr &&
        ClassNameIs(hWnd, s_state.expectedClass)) {
        CWnd* wnd = std::exchange(s_state.pending, nullptr);
        wnd->SubclassWindow(hWnd);
        if (s_state.unhookWhenDone) {
            // A modal dialog keeps its creation scope open for its whole
            // life; no need to see every later CBT event.
            ::UnhookWindowsHookEx(std::exchange(s_hook, nullptr));
            s_state.unhookWhenDone = false;
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
