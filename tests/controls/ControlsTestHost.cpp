#include "ControlsTestHost.h"

#include "resource.h"

#include "common/UniqueHandle.h"

#include <cstdio>

namespace {

bool IsBeingDispatched(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const MSG* queued = MessageBeingDispatched();
    return queued != nullptr && queued->hwnd == hWnd && queued->message == message &&
           queued->wParam == wParam && queued->lParam == lParam;
}

INT_PTR CALLBACK HostDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

} // namespace

HostWindow::HostWindow() {
    // Keep the real pointer away from the host, so that no mouse move of
    // its own gets into the tests.
    ::SetCursorPos(1020, 760);
    HWND dialog = ::CreateDialogParamW(
        ::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MEDIA_MENU), nullptr, HostDialogProc, 0);
    if (dialog == nullptr || !SubclassWindow(dialog)) {
        ADD_FAILURE() << "cannot create the host window from template " << IDD_MEDIA_MENU;
        return;
    }
    ::SetWindowPos(dialog, HWND_TOP, 0, 0, 420, 320, SWP_SHOWWINDOW);
    ::SetForegroundWindow(dialog);
    ::UpdateWindow(dialog);
    PumpMessages();
}

HostWindow::~HostWindow() {
    if (m_hWnd != nullptr) {
        ::DestroyWindow(m_hWnd);
    }
    PumpMessages();
}

std::vector<MSG> HostWindow::TakePosted() {
    std::vector<MSG> posted;
    MSG msg;
    // Posted messages only: a pending WM_PAINT would come back forever.
    while (::PeekMessageW(&msg, m_hWnd, 0, 0, PM_REMOVE | PM_QS_POSTMESSAGE)) {
        // The filter lets the children's messages through as well.
        if (msg.hwnd == m_hWnd) {
            posted.push_back(msg);
        }
    }
    return posted;
}

LRESULT HostWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
    case WM_NEXTDLGCTL:
    case WM_CLOSE:
        received.push_back(
            {message, wParam, lParam, !IsBeingDispatched(m_hWnd, message, wParam, lParam)});
        return 0;
    case WM_ERASEBKGND: {
        RECT rect;
        ::GetClientRect(m_hWnd, &rect);
        UniqueBrush brush(::CreateSolidBrush(kHostBackground.value));
        ::FillRect(reinterpret_cast<HDC>(wParam), &rect, brush.get());
        return TRUE;
    }
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}

ProbeButton::~ProbeButton() {
    if (m_buttonProc != nullptr && m_pfnSuper == &RecordingProc) {
        m_pfnSuper = m_buttonProc;
    }
}

void ProbeButton::DrawItem(LPDRAWITEMSTRUCT item) {
    ++paints;
    EntryButton::DrawItem(item);
}

void ProbeButton::RecordButtonProcedure() {
    if (m_pfnSuper != &RecordingProc) {
        m_buttonProc = m_pfnSuper;
        m_pfnSuper = &RecordingProc;
    }
}

LRESULT CALLBACK ProbeButton::RecordingProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto button = static_cast<ProbeButton*>(CWnd::FromHandlePermanent(hWnd));
    WNDPROC original = nullptr;
    if (button != nullptr) {
        button->buttonProcedureMessages.push_back(message);
        original = button->m_buttonProc;
    } else {
        WNDCLASSW wc = {};
        ::GetClassInfoW(nullptr, L"BUTTON", &wc);
        original = wc.lpfnWndProc;
    }
    return ::CallWindowProcW(original, hWnd, message, wParam, lParam);
}

DibSurface::DibSurface(int width, int height) : m_width(width), m_height(height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_bits = static_cast<uint32_t*>(bits);
    m_dc = ::CreateCompatibleDC(nullptr);
    m_previous = ::SelectObject(m_dc, m_bitmap);
}

DibSurface::~DibSurface() {
    ::SelectObject(m_dc, m_previous);
    ::DeleteDC(m_dc);
    ::DeleteObject(m_bitmap);
}

void DibSurface::Fill(Colour colour) {
    ::GdiFlush();
    const COLORREF rgb = colour.value;
    uint32_t value = (GetRValue(rgb) << 16) | (GetGValue(rgb) << 8) | GetBValue(rgb);
    for (int i = 0; i < m_width * m_height; ++i) {
        m_bits[i] = value;
    }
}

Colour DibSurface::Pixel(int x, int y) const {
    ::GdiFlush();
    uint32_t value = m_bits[y * m_width + x];
    return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

void DrawInto(ProbeButton& button, const DibSurface& surface, UINT itemState) {
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = static_cast<UINT>(button.GetDlgCtrlID());
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = itemState;
    item.hwndItem = button;
    item.hDC = surface.Dc();
    button.GetClientRect(&item.rcItem);
    button.DrawItem(&item);
}

bool CreateRoundButton(ProbeButton& button, HostWindow& parent, LPCWSTR caption, int x, int y,
                       int width, int height, int ellipse, UINT id, COLORREF disabled, int depth) {
    HRGN shape = ::CreateRoundRectRgn(0, 0, width, height, ellipse, ellipse);
    BOOL created =
        button.Create(caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP, x, y, shape, &parent, id, depth,
                      kLightBlue.value, kBlack.value, kMidBlue.value, disabled);
    ::DeleteObject(shape);
    return created != FALSE;
}
