// A window object: owns the association between an HWND and this object,
// dispatches the window's messages through the class's message map, and wraps
// the window calls the menu uses.
//
// A window is created either by CreateEx, which subclasses it while it is
// being created (before WM_NCCREATE and WM_CREATE reach it, so the message
// map sees them and PreSubclassWindow can still change the style), or by the
// dialog manager for CDialog. Everything runs on one user-interface thread.
#pragma once

#include "common/RectSize.h"

#include "framework/MessageMap.h"

#include <windows.h>

class CWnd {
public:
    CWnd() = default;
    // Destroys the window if it still exists.
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // The framework object of a window: the permanent one when the window
    // belongs to a framework object, otherwise a temporary wrapper that is
    // valid until the current message has been handled. Null for no window.
    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd);

    // Associates an existing window with this object without subclassing it.
    BOOL Attach(HWND hWnd);
    HWND Detach();
    // Routes an existing window's messages through this object.
    BOOL SubclassWindow(HWND hWnd);

    BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style,
                  const RECT& rect, CWnd* parent, UINT id, LPVOID param = nullptr);
    virtual BOOL DestroyWindow();

    // Thin wrappers over the window calls.
    CWnd* GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    static CWnd* GetFocus() { return FromHandle(::GetFocus()); }
    CWnd* SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE)); }
    // Takes the remove bits out of the window's style and puts the add bits
    // in; with flags, SetWindowPos is called with them as well, so that a
    // frame change takes effect. Returns FALSE when the style stays the same.
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    int GetWindowText(LPWSTR text, int maxCount) const {
        return ::GetWindowTextW(m_hWnd, text, maxCount);
    }
    void SetWindowText(LPCWSTR text) { ::SetWindowTextW(m_hWnd, text); }
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE) {
        ::MoveWindow(m_hWnd, x, y, width, height, repaint);
    }
    void MoveWindow(const RECT& rect, BOOL repaint = TRUE) {
        MoveWindow(rect.left, rect.top, Width(rect), Height(rect), repaint);
    }
    BOOL SetWindowPos(HWND insertAfter, int x, int y, int width, int height, UINT flags) {
        return ::SetWindowPos(m_hWnd, insertAfter, x, y, width, height, flags);
    }
    BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    void InvalidateRect(const RECT* rect, BOOL erase = TRUE) {
        ::InvalidateRect(m_hWnd, rect, erase);
    }
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    // Invalidates the whole window, erasing, and paints it before returning.
    void RepaintNow() {
        Invalidate(TRUE);
        UpdateWindow();
    }
    BOOL RedrawWindow(const RECT* rect = nullptr, HRGN region = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE) {
        return ::RedrawWindow(m_hWnd, rect, region, flags);
    }
    void GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
    void GetWindowRect(RECT* rect) const { ::GetWindowRect(m_hWnd, rect); }
    void ScreenToClient(POINT* point) const { ::ScreenToClient(m_hWnd, point); }
    void ScreenToClient(RECT* rect) const;
    void ClientToScreen(POINT* point) const { ::ClientToScreen(m_hWnd, point); }
    // A DC of the client area; give it back with ReleaseDC (or use CClientDC).
    HDC GetDC() { return ::GetDC(m_hWnd); }
    int ReleaseDC(HDC dc) { return ::ReleaseDC(m_hWnd, dc); }
    // The window takes ownership of region when this succeeds.
    int SetWindowRgn(HRGN region, BOOL redraw) { return ::SetWindowRgn(m_hWnd, region, redraw); }
    // Copies the window region into an existing region.
    int GetWindowRgn(HRGN region) const { return ::GetWindowRgn(m_hWnd, region); }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::PostMessageW(m_hWnd, message, wParam, lParam);
    }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
    HFONT GetFont() const {
        return reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    }

    // Window procedure of every framework window.
    static LRESULT CALLBACK StaticWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    static const MessageMap* GetThisMessageMap();
    virtual const MessageMap* GetMessageMap() const;

    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Dispatches through the message maps; FALSE when no entry handled it.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // The window's original procedure (the class procedure, or the system's
    // procedure of a subclassed control), else ::DefWindowProcW.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Runs before the window's messages reach the message map: for CreateEx,
    // during creation, before WM_NCCREATE.
    virtual void PreSubclassWindow() {}
    // An owner-draw or other notification reflected from the parent window.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // After the window is gone and detached.
    virtual void PostNcDestroy() {}

    // Default processing of the message being handled.
    LRESULT Default();

    // Default handlers; a derived handler calls them for default processing.
    int OnCreate(LPCREATESTRUCTW) { return static_cast<int>(Default()); }
    void OnPaint() { Default(); }
    void OnClose() { Default(); }
    void OnMove(int, int) { Default(); }
    void OnActivateApp(BOOL, DWORD) { Default(); }
    void OnTimer(UINT_PTR) { Default(); }
    LRESULT OnNcHitTest(POINT) { return Default(); }
    BOOL OnHelpInfo(HELPINFO*) { return static_cast<BOOL>(Default()); }
    BOOL OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
    void OnMouseMove(UINT, POINT) { Default(); }
    void OnLButtonDown(UINT, POINT) { Default(); }
    void OnLButtonUp(UINT, POINT) { Default(); }
    void OnKeyDown(UINT, UINT, UINT) { Default(); }
    UINT OnGetDlgCode() { return static_cast<UINT>(Default()); }

    WNDPROC m_pfnSuper = nullptr;

private:
    struct CurrentMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    void OnNcDestroyed();
    BOOL ReflectDrawItem(WPARAM wParam, LPARAM lParam, LRESULT* result);

    CurrentMessage m_current = {0, 0, 0};
    bool m_temporary = false;
};
