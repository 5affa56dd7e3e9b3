#include "MenuSession.h"

#include "tests/support/TestPaths.h"

namespace {

struct FindRequest {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindMenuOfProcess(HWND hwnd, LPARAM param) {
    auto request = reinterpret_cast<FindRequest*>(param);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(hwnd, &processId);
    wchar_t title[32] = {};
    ::GetWindowTextW(hwnd, title, 32);
    if (processId == request->processId && ::IsWindowVisible(hwnd) &&
        ::lstrcmpW(title, L"VLTMedia") == 0) {
        request->found = hwnd;
        return FALSE;
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

void SendKey(WORD virtualKey, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    ::SendInput(1, &input, sizeof input);
}

} // namespace

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start > timeoutMs) {
            return false;
        }
        ::Sleep(10);
    }
    return true;
}

MenuSession::MenuSession() : m_program(DeliverablePath(L"VLTMedia.exe")) {}

MenuSession::~MenuSession() {
    if (m_program.IsRunning() && m_window != nullptr) {
        ::PostMessageW(m_window, WM_CLOSE, 0, 0);
        m_program.WaitForExit(5000);
    }
}

bool MenuSession::WaitForMenu(DWORD timeoutMs) {
    FindRequest request = {m_program.ProcessId(), nullptr};
    bool found = WaitUntil(
        [&] {
            ::EnumWindows(FindMenuOfProcess, reinterpret_cast<LPARAM>(&request));
            return request.found != nullptr || !m_program.IsRunning();
        },
        timeoutMs);
    m_window = request.found;
    m_threadId = m_window ? ::GetWindowThreadProcessId(m_window, nullptr) : 0;
    return found && m_window != nullptr;
}

std::vector<ChildWindow> MenuSession::Children() const {
    std::vector<ChildWindow> children;
    if (m_window != nullptr) {
        ::EnumChildWindows(m_window, CollectChild, reinterpret_cast<LPARAM>(&children));
    }
    return children;
}

ChildWindow MenuSession::Child(int id) const {
    for (const ChildWindow& child : Children()) {
        if (child.id == id) {
            return child;
        }
    }
    return ChildWindow{};
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
    INPUT inputs[2] = {};
    inputs[0].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].type = INPUT_MOUSE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(2, inputs, sizeof inputs[0]);
}

void MenuSession::ClickChild(int id) const {
    RECT rect = Child(id).rect;
    ClickAt(POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}
