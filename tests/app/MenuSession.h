#pragma once

#include "tests/support/ProgramRun.h"
#include "tests/support/Waiting.h"

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

// The title by which the menu window is known to other processes.
constexpr wchar_t kMenuTitle[] = L"VLTMedia";

// Visible top-level windows titled "VLTMedia" that belong to the process.
std::vector<HWND> MenuWindowsOf(DWORD processId);

// Moves the pointer to the screen's top-left corner, away from the menu,
// where it cannot give an entry the hover look.
void ParkPointer();

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
    // The child with that control id; the button when a static shares the
    // id (the logo static and the up scroll button are both 1002).
    ChildWindow Child(int id) const;
    // The control id of the window that has the keyboard focus in the menu's
    // thread; 0 when there is none, -1 when the focus is the window itself.
    int FocusedId() const;
    // FocusedId() once it is id, or when the wait runs out: the keys and
    // clicks reach the menu's thread some time after they are sent.
    int FocusOnceIs(int id) const {
        WaitUntil([&] { return FocusedId() == id; }, 5000);
        return FocusedId();
    }

    // The control id of every visible button (entries and scroll buttons;
    // the statics of the template are left out), in ascending order.
    std::vector<int> VisibleButtonIds() const;

    RECT WindowRect() const;
    LONG Style() const { return ::GetWindowLongW(m_window, GWL_STYLE); }
    LONG ExStyle() const { return ::GetWindowLongW(m_window, GWL_EXSTYLE); }
    bool HasWindowRegion() const;
    // The window still exists and is visible.
    bool IsOpen() const { return ::IsWindow(m_window) && ::IsWindowVisible(m_window); }
    // A point of the client area in screen coordinates.
    POINT ClientToScreen(POINT clientPoint) const;
    // What the window answers to WM_NCHITTEST for a screen point.
    LRESULT HitTest(POINT screenPoint) const;
    bool Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::PostMessageW(m_window, message, wParam, lParam) != FALSE;
    }

    // Real input, to the foreground window.
    void PressKey(WORD virtualKey, bool shift = false) const;
    void ClickAt(POINT screenPoint) const;
    void ClickChild(int id) const;
    // Moves the pointer as the mouse would.
    void MovePointer(POINT screenPoint) const;
    // Left button down at from, moved to to in a few steps, released there.
    void Drag(POINT from, POINT to) const;

    bool WaitForExit(DWORD timeoutMs = 15000) { return m_program.WaitForExit(timeoutMs); }
    // Presses Escape and waits for the process to end: the menu still
    // answers the keyboard after whatever the test did.
    bool CloseWithEscape() {
        PressKey(VK_ESCAPE);
        return WaitForExit();
    }

private:
    RunningProgram m_program;
    HWND m_window = nullptr;
    DWORD m_threadId = 0;
};
