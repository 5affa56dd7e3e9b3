#include "MenuSession.h"

#include "common/UniqueHandle.h"
#include "tests/support/TestPaths.h"

#include <algorithm>

namespace {

struct MenuWindowSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectMenuWindow(HWND hwnd, LPARAM param) {
    auto search = reinterpret_cast<MenuWindowSearch*>(param);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(hwnd, &processId);
    wchar_t title[32] = {};
    ::GetWindowTextW(hwnd, title, 32);
    if (processId == search->processId && ::IsWindowVisible(hwnd) &&
        ::lstrcmpW(title, kMenuTitle) == 0) {
        search->found.push_back(hwnd);
    }
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM param) {
    auto children = reinterpret_cast<std::vector<ChildWindow>*>(param);
    ChildWindow child;
    child.hwnd = hwnd;
    child.id = ::GetDlgCtrlID(hwnd);
    wchar_t text[300] = {};
    ::GetClassNameW(hwnd, text, 300);
    child.className = text;
    ::GetWindowTextW(hwnd, text, 300);
    child.text = text;
    child.visible = ::IsWindowVisible(hwnd) != FALSE;
    child.enabled = ::IsWindowEnabled(hwnd) != FALSE;
    ::GetWindowRect(hwnd, &child.rect);
    children->push_back(child);
    return TRUE;
}

void SendMouse(DWORD flags, POINT point = POINT{0, 0}) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_ABSOLUTE) {
        // Absolute input runs from 0 to 65535 across the primary screen.
        input.mi.dx = static_cast<LONG>((point.x * 65535LL + ::GetSystemMetrics(SM_CXSCREEN) / 2) /
                                        (::GetSystemMetrics(SM_CXSCREEN) - 1));
        input.mi.dy = static_cast<LONG>((point.y * 65535LL + ::GetSystemMetrics(SM_CYSCREEN) / 2) /
                                        (::GetSystemMetrics(SM_CYSCREEN) - 1));
    }
    ::SendInput(1, &input, sizeof input);
}

void SendKey(WORD virtualKey, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    ::SendInput(1, &input, sizeof input);
}

} // namespace

std::vector<HWND> MenuWindowsOf(DWORD processId) {
    MenuWindowSearch search = {processId, {}};
    ::EnumWindows(CollectMenuWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void ParkPointer() {
    // Wine moves the X pointer only when the position asked for differs from
    // the one its server last recorded, which may be stale (the X pointer
    // starts in the screen's middle while the server believes (0, 0)); a
    // detour through another point makes sure the real pointer moves.
    ::SetCursorPos(1, 1);
    ::SetCursorPos(0, 0);
}

MenuSession::MenuSession() : m_program(DeliverablePath(L"VLTMedia.exe")) {}

MenuSession::~MenuSession() {
    if (m_program.IsRunning() && m_window != nullptr) {
        ::PostMessageW(m_window, WM_CLOSE, 0, 0);
        m_program.WaitForExit(5000);
    }
}

bool MenuSession::WaitForMenu(DWORD timeoutMs) {
    std::vector<HWND> found;
    WaitUntil(
        [&] {
            found = MenuWindowsOf(m_program.ProcessId());
            return !found.empty() || !m_program.IsRunning();
        },
        timeoutMs);
    m_window = found.empty() ? nullptr : found.front();
    m_threadId = m_window ? ::GetWindowThreadProcessId(m_window, nullptr) : 0;
    return m_window != nullptr;
}

std::vector<ChildWindow> MenuSession::Children() const {
    std::vector<ChildWindow> children;
    if (m_window != nullptr) {
        ::EnumChildWindows(m_window, CollectChild, reinterpret_cast<LPARAM>(&children));
    }
    return children;
}

ChildWindow MenuSession::Child(int id) const {
    ChildWindow found;
    for (const ChildWindow& child : Children()) {
        if (child.id != id) {
            continue;
        }
        if (::lstrcmpiW(child.className.c_str(), L"Button") == 0) {
            return child;
        }
        found = child;
    }
    return found;
}

std::vector<int> MenuSession::VisibleButtonIds() const {
    std::vector<int> ids;
    for (const ChildWindow& child : Children()) {
        if (child.visible && ::lstrcmpiW(child.className.c_str(), L"Button") == 0) {
            ids.push_back(child.id);
        }
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

RECT MenuSession::WindowRect() const {
    RECT rect = {};
    ::GetWindowRect(m_window, &rect);
    return rect;
}

bool MenuSession::HasWindowRegion() const {
    UniqueRegion region(::CreateRectRgn(0, 0, 0, 0));
    return ::GetWindowRgn(m_window, region.get()) != ERROR;
}

POINT MenuSession::ClientToScreen(POINT point) const {
    ::ClientToScreen(m_window, &point);
    return point;
}

LRESULT MenuSession::HitTest(POINT point) const {
    DWORD_PTR result = HTERROR;
    if (!::SendMessageTimeoutW(m_window, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y), SMTO_NORMAL,
                               TimeLimit(5000), &result)) {
        return HTERROR;
    }
    return static_cast<LRESULT>(result);
}

int MenuSession::FocusedId() const {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(m_threadId, &info) || info.hwndFocus == nullptr) {
        return 0;
    }
    return info.hwndFocus == m_window ? -1 : ::GetDlgCtrlID(info.hwndFocus);
}

void MenuSession::PressKey(WORD virtualKey, bool shift) const {
    if (shift) {
        SendKey(VK_SHIFT, false);
    }
    SendKey(virtualKey, false);
    SendKey(virtualKey, true);
    if (shift) {
        SendKey(VK_SHIFT, true);
    }
}

void MenuSession::ClickAt(POINT point) const {
    ::SetCursorPos(point.x, point.y);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
}

void MenuSession::MovePointer(POINT point) const {
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, point);
}

void MenuSession::Drag(POINT from, POINT to) const {
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, from);
    ::Sleep(50);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    ::Sleep(50);
    const int steps = 5;
    for (int i = 1; i <= steps; ++i) {
        POINT step = {from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps};
        SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, step);
        ::Sleep(50);
    }
    SendMouse(MOUSEEVENTF_LEFTUP);
}

void MenuSession::ClickChild(int id) const {
    RECT rect = Child(id).rect;
    ClickAt(POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}
