#include "framework/CWnd.h"

#include "framework/CreationHook.h"
#include "framework/WindowMap.h"

#include <new>
#include <utility>

namespace {

// The framework windows of this process.
WindowMap g_windows;

CWnd* ObjectOf(HWND hWnd) {
    return g_windows.Find(hWnd);
}

// Wrappers handed out by FromHandle for windows without a framework object.
// They live until the outermost message being handled returns.
struct TemporaryWnd {
    CWnd wnd;
    TemporaryWnd* next = nullptr;
};
TemporaryWnd* g_temporaries = nullptr;
int g_dispatchDepth = 0;

void DeleteTemporaries() {
    while (TemporaryWnd* t = g_temporaries) {
        g_temporaries = t->next;
        t->wnd.m_hWnd = nullptr; // borrowed: never destroy the window
        delete t;
    }
}

} // namespace

CWnd::~CWnd() {
    if (m_hWnd == nullptr) {
        return;
    }
    if (::IsWindow(m_hWnd)) {
        ::DestroyWindow(m_hWnd);
    }
    if (m_hWnd != nullptr) {
        // Not destroyed (another thread's window, or already gone): at least
        // never leave a dangling association behind.
        Detach();
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    return ObjectOf(hWnd);
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (hWnd == nullptr) {
        return nullptr;
    }
    if (CWnd* permanent = FromHandlePermanent(hWnd)) {
        return permanent;
    }
    for (TemporaryWnd* t = g_temporaries; t != nullptr; t = t->next) {
        if (t->wnd.m_hWnd == hWnd) {
            return &t->wnd;
        }
    }
    TemporaryWnd* t = new (std::nothrow) TemporaryWnd;
    if (t == nullptr) {
        return nullptr;
    }
    t->wnd.m_hWnd = hWnd;
    t->wnd.m_temporary = true;
    t->next = g_temporaries;
    g_temporaries = t;
    return &t->wnd;
}

BOOL CWnd::Attach(HWND hWnd) {
    if (m_hWnd != nullptr || !g_windows.Insert(hWnd, this)) {
        return FALSE;
    }
    m_hWnd = hWnd;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hWnd = std::exchange(m_hWnd, nullptr);
    if (hWnd != nullptr && !m_temporary) {
        g_windows.Erase(hWnd);
    }
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (!Attach(hWnd)) {
        return FALSE;
    }
    PreSubclassWindow();
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StaticWindowProc)));
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style,
                    const RECT& rect, CWnd* parent, UINT id, LPVOID param) {
    if (m_hWnd != nullptr) {
        return FALSE;
    }
    HWND created;
    {
        CreationHook hook(this, className);
        created = ::CreateWindowExW(exStyle, className, windowName, style, rect.left, rect.top,
                                    Width(rect), Height(rect), parent ? parent->m_hWnd : nullptr,
                                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                    ::GetModuleHandleW(nullptr), param);
    }
    if (created == nullptr && m_hWnd != nullptr) {
        // Attached at HCBT_CREATEWND, then refused (by another CBT hook, say)
        // without ever getting WM_NCDESTROY: drop the dead association. A
        // failed WM_CREATE needs nothing here, WM_NCDESTROY has detached it.
        Detach();
        m_pfnSuper = nullptr;
    }
    return created != nullptr;
}

BOOL CWnd::DestroyWindow() {
    return m_hWnd != nullptr && ::DestroyWindow(m_hWnd);
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags) {
    DWORD style = GetStyle();
    DWORD newStyle = (style & ~remove) | add;
    if (style == newStyle) {
        return FALSE;
    }
    ::SetWindowLongW(m_hWnd, GWL_STYLE, static_cast<LONG>(newStyle));
    if (flags != 0) {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    }
    return TRUE;
}

void CWnd::ScreenToClient(RECT* rect) const {
    POINT corners[2] = {{rect->left, rect->top}, {rect->right, rect->bottom}};
    ::ScreenToClient(m_hWnd, &corners[0]);
    ::ScreenToClient(m_hWnd, &corners[1]);
    *rect = RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

const MessageMap* CWnd::GetThisMessageMap() {
    static const MessageMapEntry entries[] = {{0, 0, 0, 0, nullptr}};
    static const MessageMap map = {nullptr, entries};
    return &map;
}

const MessageMap* CWnd::GetMessageMap() const {
    return GetThisMessageMap();
}

LRESULT CALLBACK CWnd::StaticWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = ObjectOf(hWnd);
    if (wnd == nullptr) {
        return ::DefWindowProcW(hWnd, message, wParam, lParam);
    }
    ++g_dispatchDepth;
    CurrentMessage outer = wnd->m_current;
    wnd->m_current = CurrentMessage{message, wParam, lParam};
    LRESULT result = wnd->WindowProc(message, wParam, lParam);
    wnd->m_current = outer;
    if (message == WM_NCDESTROY) {
        wnd->OnNcDestroyed();
    }
    if (--g_dispatchDepth == 0) {
        DeleteTemporaries();
    }
    return result;
}

void CWnd::OnNcDestroyed() {
    // Give the window back its own procedure, so nothing that arrives after
    // this point can reach an object that may be gone.
    if (m_pfnSuper != nullptr &&
        ::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(StaticWindowProc)) {
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    }
    m_pfnSuper = nullptr;
    Detach();
    PostNcDestroy();
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) {
        result = DefWindowProc(message, wParam, lParam);
    }
    return result;
}

namespace {

bool Matches(const MessageMapEntry& entry, UINT message, WPARAM wParam) {
    if (entry.message != message) {
        return false;
    }
    if (message != WM_COMMAND) {
        return true;
    }
    UINT id = LOWORD(wParam);
    return HIWORD(wParam) == entry.code && id >= entry.idFirst && id <= entry.idLast;
}

} // namespace

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_DRAWITEM && ReflectDrawItem(wParam, lParam, result)) {
        return TRUE;
    }
    for (const MessageMap* map = GetMessageMap(); map != nullptr;
         map = map->getBaseMap ? map->getBaseMap() : nullptr) {
        for (const MessageMapEntry* entry = map->entries; entry->message != 0; ++entry) {
            if (Matches(*entry, message, wParam)) {
                *result = entry->thunk(this, message, wParam, lParam);
                return TRUE;
            }
        }
    }
    return FALSE;
}

BOOL CWnd::ReflectDrawItem(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    auto item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item == nullptr || item->CtlType == ODT_MENU) {
        return FALSE;
    }
    CWnd* child = ObjectOf(item->hwndItem);
    return child != nullptr && child->OnChildNotify(WM_DRAWITEM, wParam, lParam, result);
}

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) {
    return FALSE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper != nullptr) {
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    }
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    return DefWindowProc(m_current.message, m_current.wParam, m_current.lParam);
}
