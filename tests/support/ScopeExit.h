#pragma once

#include <utility>

// Runs an action when the scope ends, however it ends (a failed ASSERT
// returns early): state a test changes is put back by the holder, never by a
// line at the end that a failure skips.
//   ScopeExit unhook([hook] { ::UnhookWindowsHookEx(hook); });
template <class Action> class ScopeExit {
public:
    explicit ScopeExit(Action action) : m_action(std::move(action)) {}
    ~ScopeExit() { m_action(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    Action m_action;
};
