// The association of this process's framework windows with their objects:
// HWND -> CWnd*, looked up on every message. Kept in the process (open
// addressing, linear probing) rather than in window properties, whose every
// read is a round trip to the window server under some systems. Used from
// the one user-interface thread only.
#pragma once

#include <windows.h>

#include <cstddef>

class CWnd;

class WindowMap {
public:
    WindowMap() = default;
    ~WindowMap();
    WindowMap(const WindowMap&) = delete;
    WindowMap& operator=(const WindowMap&) = delete;

    // False when the window is already mapped or memory runs out.
    bool Insert(HWND hWnd, CWnd* wnd);
    CWnd* Find(HWND hWnd) const;
    void Erase(HWND hWnd);
    size_t Count() const { return m_count; }

private:
    struct Slot {
        HWND key;
        CWnd* value;
    };

    size_t Home(HWND hWnd) const;
    bool Grow();

    Slot* m_slots = nullptr;
    size_t m_capacity = 0; // a power of two, or 0
    size_t m_count = 0;
};
