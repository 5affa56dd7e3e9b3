#pragma once

#include "tests/support/ProgramRun.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// A child window of the menu as another process sees it.
struct ChildWindow {
    HWND hwnd = nullptr;
    int id = 0;
    std::wstring className;
    std::wstring text;
    bool visible = false;
    bool enabled = false;
    RECT rect = {}; // screen coordinates
};

// Polls condition until it holds or timeoutMs has passed.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);

// One run of the real VLTMedia.exe, driven and inspected from the test
// process the way a user and another program would: windows found by title,
// state read across the process boundary, keys and clicks as real input.
class MenuSession {
public:
    MenuSession();
    ~MenuSession();
    MenuSession(const MenuSession&) = delete;
    MenuSession& operator=(const MenuSession&) = delete;

    // Waits for this process's visible top-level window titled "VLTMedia".
    bool WaitForMenu(DWORD timeoutMs = 20000);
    HWND Window() const { return m_window; }
    RunningProgram& Program() { return m_program; }

    std::vector<ChildWindow> Children() const;
    ChildWindow Child(int id) const;
    // The control id of the window that has the keyboard focus in the menu's
    // thread; 0 when there is none, -1 when the focus is the window itself.
    int FocusedId() const;

    // Real input, to the foreground window.
    void PressKey(WORD virtualKey, bool shift = false) const;
    void ClickAt(POINT screenPoint) const;
    void ClickChild(int id) const;

    bool WaitForExit(DWORD timeoutMs = 15000) { return m_program.WaitForExit(timeoutMs); }

private:
    RunningProgram m_program;
    HWND m_window = nullptr;
    DWORD m_threadId = 0;
};
