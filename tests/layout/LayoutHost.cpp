#include "tests/layout/LayoutHost.h"

#include "media_menu/data/SettingsStore.h"
#include "media_menu/res/resource.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

const UINT kRunMessage = WM_APP + 1;

} // namespace

BEGIN_MESSAGE_MAP(LayoutHost, CDialog)
ON_MESSAGE(kRunMessage, OnRun)
ON_MESSAGE(WM_NEXTDLGCTL, OnNextDlgCtl)
ON_COMMAND(IDC_SCROLL_UP, OnScrollUp)
ON_COMMAND(IDC_SCROLL_DOWN, OnScrollDown)
END_MESSAGE_MAP()

LayoutHost::LayoutHost() : CDialog(IDD_MEDIA_MENU) {}

void LayoutHost::Run(Body body) {
    m_body = std::move(body);
    ASSERT_EQ(0, DoModal()) << "the host dialog could not be created from template 102";
}

BOOL LayoutHost::OnInitDialog() {
    CDialog::OnInitDialog();
    // As the menu window does: the title bar is a profile switch.
    if (ReadProfileInt(ProfileKey::kAddCaption, 0) != 0) {
        ModifyStyle(0, WS_CAPTION);
    }
    SetWindowText(L"LayoutHost");
    PostMessage(kRunMessage);
    return FALSE;
}

LRESULT LayoutHost::OnRun(WPARAM, LPARAM) {
    Pump(); // the dialog is shown and painted before the body starts
    if (m_body) {
        m_body(*this);
    }
    DestroyLayout();
    EndDialog(0);
    return 0;
}

MenuLayout& LayoutHost::Build(const std::vector<std::wstring>& captions) {
    DestroyLayout();
    layout = new MenuLayout(this);
    layout->BeginUpdate();
    int index = 1;
    for (const std::wstring& caption : captions) {
        layout->AddEntry(231 + index++, caption.c_str());
    }
    layout->EndUpdate();
    layout->Layout();
    Pump();
    return *layout;
}

void LayoutHost::DestroyLayout() {
    if (layout != nullptr) {
        layout->DestroyEntries();
        delete layout;
        layout = nullptr;
    }
}

LRESULT LayoutHost::OnNextDlgCtl(WPARAM wParam, LPARAM lParam) {
    if (layout == nullptr) {
        return 0;
    }
    int handled = layout->OnNextDlgCtl(this, wParam, lParam);
    if (handled == 1) {
        ++defaultNextDlgCtlCount;
        return Default();
    }
    return handled;
}

void LayoutHost::OnScrollUp() {
    if (layout != nullptr) {
        layout->ScrollUp();
    }
}

void LayoutHost::OnScrollDown() {
    if (layout != nullptr) {
        layout->ScrollDown();
    }
}

void LayoutHost::Request(WPARAM wParam, LPARAM lParam) {
    PostMessage(WM_NEXTDLGCTL, wParam, lParam);
    Pump();
}

void LayoutHost::KeyToFocus(UINT key) {
    ::PostMessageW(::GetFocus(), WM_KEYDOWN, key, 1);
    Pump();
}

void LayoutHost::Command(UINT id) {
    PostMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    Pump();
}

void LayoutHost::Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (!::IsDialogMessageW(m_hWnd, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

RECT WorkArea() {
    RECT area = {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

RECT ScreenRectOf(HWND window) {
    RECT rect = {};
    ::GetWindowRect(window, &rect);
    return rect;
}

RECT ClientRectIn(HWND parent, HWND child) {
    RECT rect = ScreenRectOf(child);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT RegionBoxOf(HWND window) {
    RECT box = {};
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    if (::GetWindowRgn(window, region) != ERROR) {
        ::GetRgnBox(region, &box);
    }
    ::DeleteObject(region);
    return box;
}

RECT RoundedShapeBox(int width, int height) {
    RECT box = {};
    HRGN region = ::CreateRoundRectRgn(0, 0, width, height, 4, 4);
    ::GetRgnBox(region, &box);
    ::DeleteObject(region);
    return box;
}

bool HasWindowRegion(HWND window) {
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    const bool has = ::GetWindowRgn(window, region) != ERROR;
    ::DeleteObject(region);
    return has;
}

std::string Text(const RECT& rect) {
    char text[96];
    snprintf(text, sizeof text, "(%ld, %ld) %ld x %ld", rect.left, rect.top, rect.right - rect.left,
             rect.bottom - rect.top);
    return text;
}

bool IsUsable(HWND button) {
    return ::IsWindowVisible(button) && ::IsWindowEnabled(button);
}

std::vector<int> ChildIds(HWND parent) {
    std::vector<int> ids;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        ids.push_back(::GetDlgCtrlID(child));
    }
    return ids;
}

int TextWidth(HDC dc, const std::wstring& text) {
    SIZE size = {};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

std::wstring CaptionOfWidth(HDC dc, int width) {
    const std::wstring pieces = L"iaWM1l.";
    for (wchar_t a : pieces) {
        for (wchar_t b : pieces) {
            const int wa = TextWidth(dc, std::wstring(1, a));
            const int wb = TextWidth(dc, std::wstring(1, b));
            for (int k = 0; wa > 0 && wb > 0 && k * wa <= width; ++k) {
                const int rest = width - k * wa;
                if (rest % wb != 0 || k + rest / wb > 259) {
                    continue;
                }
                std::wstring text = std::wstring(k, a) + std::wstring(rest / wb, b);
                if (TextWidth(dc, text) == width) {
                    return text;
                }
            }
        }
    }
    return L"";
}

int AverageCharWidth(HWND dialog) {
    TEXTMETRICW metrics = {};
    HDC dc = ::GetDC(dialog);
    ::GetTextMetricsW(dc, &metrics);
    ::ReleaseDC(dialog, dc);
    return metrics.tmAveCharWidth;
}

ScopedWorkArea::ScopedWorkArea(const RECT& area) : m_saved(WorkArea()) {
    RECT wanted = area;
    EXPECT_TRUE(::SystemParametersInfoW(SPI_SETWORKAREA, 0, &wanted, 0));
}

ScopedWorkArea::~ScopedWorkArea() {
    ::SystemParametersInfoW(SPI_SETWORKAREA, 0, &m_saved, 0);
}
