#pragma once

#include <windows.h>

// While it lives, every window creation on this thread fails: a CBT hook
// refuses HCBT_CREATEWND. Hooks run newest first, so one made before a
// creation that installs its own hook (as the framework does) runs after it.
class WindowCreationRefusal {
public:
    WindowCreationRefusal();
    ~WindowCreationRefusal();
    WindowCreationRefusal(const WindowCreationRefusal&) = delete;
    WindowCreationRefusal& operator=(const WindowCreationRefusal&) = delete;

    bool Installed() const { return m_hook != nullptr; }

private:
    HHOOK m_hook;
};
