#include "OwnWindow.h"

#include "tests/support/Waiting.h"

namespace {

const wchar_t kClassName[] = L"MenuTestOwnWindow";
// Sent by the test's thread; handled on the window's thread.
const UINT kActivateMessage = WM_APP + 1;
const UINT kDestroyMessage = WM_APP + 2;

void RegisterOnce() {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    if (::GetClassInfoExW(::GetModuleHandleW(nullptr), kClassName, &windowClass)) {
        return;
    }
    windowClass.lpfnWndProc = DefWindowProcW; // replaced per window (GWLP_WNDPROC below)
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    ::RegisterClassExW(&windowClass);
}

} // namespace

OwnWindow::OwnWindow(Options options)
    : m_options(std::move(options)), m_ready(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      m_brush(::CreateSolidBrush(m_options.colour)) {
    RegisterOnce();
    m_thread.reset(::CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr));
    ::WaitForSingleObject(m_ready.get(), TimeLimit(10000));
}

OwnWindow::~OwnWindow() {
    if (m_window != nullptr) {
        ::PostMessageW(m_window, kDestroyMessage, 0, 0);
    }
    if (m_thread) {
        ::WaitForSingleObject(m_thread.get(), TimeLimit(10000));
    }
}

bool OwnWindow::Activate() {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(m_window, kActivateMessage, 0, 0, SMTO_NORMAL, TimeLimit(5000), &result);
    return ::GetForegroundWindow() == m_window;
}

RECT OwnWindow::ScreenRect() {
    return RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

DWORD WINAPI OwnWindow::ThreadMain(void* self) {
    static_cast<OwnWindow*>(self)->Run();
    return 0;
}

void OwnWindow::Run() {
    DWORD exStyle = WS_EX_TOOLWINDOW;
    if (m_options.shownWithoutActivation) {
        exStyle |= WS_EX_NOACTIVATE;
    }
    const RECT& r = m_options.rect;
    const wchar_t* windowClass = m_options.dialogClass ? WC_DIALOG : kClassName;
    m_window = ::CreateWindowExW(exStyle, windowClass, m_options.title.c_str(), WS_POPUP, r.left,
                                 r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr);
    if (m_window != nullptr) {
        ::SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ::SetWindowLongPtrW(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProc));
        if (m_options.shownWithoutActivation) {
            ::ShowWindow(m_window, SW_SHOWNOACTIVATE);
            ::UpdateWindow(m_window);
        } else if (m_options.shownAndActivated) {
            ::ShowWindow(m_window, SW_SHOW);
            ::SetForegroundWindow(m_window);
            ::UpdateWindow(m_window);
        }
    }
    ::SetEvent(m_ready.get());
    if (m_window == nullptr) {
        return;
    }
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

LRESULT CALLBACK OwnWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto self = reinterpret_cast<OwnWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (message) {
    case WM_CLOSE:
        if (self->m_options.mutexHeldFromFirstClose != nullptr && !self->m_heldMutex) {
            self->m_heldMutex.reset(
                ::OpenMutexW(SYNCHRONIZE, FALSE, self->m_options.mutexHeldFromFirstClose));
            ::InterlockedExchange(&self->m_holdsMutex, self->m_heldMutex ? 1 : 0);
        }
        ::InterlockedIncrement(&self->m_closeRequests);
        return 0;
    case WM_ERASEBKGND: {
        RECT client;
        ::GetClientRect(hwnd, &client);
        ::FillRect(reinterpret_cast<HDC>(wParam), &client, self->m_brush.get());
        return 1;
    }
    case kActivateMessage:
        ::ShowWindow(hwnd, SW_SHOW);
        ::SetForegroundWindow(hwnd);
        ::UpdateWindow(hwnd);
        return 0;
    case kDestroyMessage:
        ::DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
}
