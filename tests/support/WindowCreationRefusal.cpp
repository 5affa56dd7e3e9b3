#include "WindowCreationRefusal.h"

namespace {

LRESULT CALLBACK RefuseCreation(int code, WPARAM wParam, LPARAM lParam) {
    return code == HCBT_CREATEWND ? 1 : ::CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

WindowCreationRefusal::WindowCreationRefusal()
    : m_hook(::SetWindowsHookExW(WH_CBT, RefuseCreation, nullptr, ::GetCurrentThreadId())) {}

WindowCreationRefusal::~WindowCreationRefusal() {
    if (m_hook != nullptr) {
        ::UnhookWindowsHookEx(m_hook);
    }
}
