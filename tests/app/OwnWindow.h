// A top-level window of the test process itself, run on a thread of its own
// with a message loop, so that it paints and answers messages while the
// test's main thread waits for the menu. It serves as a coloured backdrop
// behind the menu, as a window the test activates to take the activation
// away from the menu, and as a stand-in titled "VLTMedia" that counts the
// WM_CLOSE messages it receives.
#pragma once

#include "common/UniqueHandle.h"

#include <windows.h>

#include <string>

class OwnWindow {
public:
    struct Options {
        std::wstring title;
        COLORREF colour = RGB(0x80, 0x80, 0x80);
        RECT rect = {0, 0, 200, 100}; // screen coordinates
        // Shown without activation (SW_SHOWNOACTIVATE, WS_EX_NOACTIVATE),
        // so that showing it never takes the activation from the menu.
        bool shownWithoutActivation = false;
        // Shown and activated (made the foreground window) right away.
        bool shownAndActivated = false;
        // Of the system's dialog class "#32770", as the menu window is,
        // rather than of a class of the test's own.
        bool dialogClass = false;
        // A named mutex that the window opens and keeps open from its first
        // WM_CLOSE on: the closer that sent it then counts as at work for as
        // long as the window lives, however slowly later starts arrive.
        const wchar_t* mutexHeldFromFirstClose = nullptr;
    };

    explicit OwnWindow(Options options);
    ~OwnWindow();
    OwnWindow(const OwnWindow&) = delete;
    OwnWindow& operator=(const OwnWindow&) = delete;

    HWND Handle() const { return m_window; }
    // WM_CLOSE messages received so far; the window never closes on them.
    LONG CloseRequests() const { return ::InterlockedCompareExchange(&m_closeRequests, 0, 0); }
    // Whether the mutex of Options::mutexHeldFromFirstClose is held.
    bool HoldsMutex() const { return ::InterlockedCompareExchange(&m_holdsMutex, 0, 0) != 0; }
    // Shows the window if hidden and makes it the foreground window, from its
    // own thread; true when it is the foreground window afterwards.
    bool Activate();

    // The whole primary screen.
    static RECT ScreenRect();

private:
    static DWORD WINAPI ThreadMain(void* self);
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Run();

    Options m_options;
    HWND m_window = nullptr;
    mutable volatile LONG m_closeRequests = 0;
    mutable volatile LONG m_holdsMutex = 0;
    UniqueKernelHandle m_heldMutex;
    UniqueKernelHandle m_ready;
    UniqueKernelHandle m_thread;
    UniqueBrush m_brush;
};
