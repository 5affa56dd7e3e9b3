#include "tests/layout/LayoutHost.h"

#include "common/RectSize.h"
#include "common/UniqueHandle.h"
#include "media_menu/res/resource.h"

#include <gtest/gtest.h>

namespace {

const UINT kRunMessage = WM_APP + 1;

} // namespace

BEGIN_MESSAGE_MAP(LayoutHost, MenuLayoutDialog)
ON_MESSAGE(kRunMessage, OnRun)
END_MESSAGE_MAP()

void LayoutHost::Run(Body body) {
    m_body = std::move(body);
    ASSERT_EQ(0, DoModal()) << "the host dialog could not be created from template 102";
}

BOOL LayoutHost::OnInitDialog() {
    // The title bar, as for the menu window.
    MenuLayoutDialog::OnInitDialog();
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

// The dialog's wiring calls Default() for the requests its layout leaves
// to the dialog manager, and only for those.
LRESULT LayoutHost::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NEXTDLGCTL) {
        ++defaultNextDlgCtlCount;
    }
    return MenuLayoutDialog::DefWindowProc(message, wParam, lParam);
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

RECT WorkArea() {
    RECT area = {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

std::vector<std::wstring> Captions(int count) {
    std::vector<std::wstring> captions;
    for (int i = 1; i <= count; ++i) {
        captions.push_back(L"Entry " + std::to_wstring(i));
    }
    return captions;
}

Measured Measure(HWND dialog, int entryWidth) {
    const RECT footer = ScreenRectOf(::GetDlgItem(dialog, IDC_FOOTER_MARKER));
    const bool captioned = (::GetWindowLongW(dialog, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
    Measured measured = {};
    measured.pass.work = WorkArea();
    measured.pass.captionHeight = captioned ? ::GetSystemMetrics(SM_CYCAPTION) : 0;
    measured.pass.borderHeight = captioned ? 2 * ::GetSystemMetrics(SM_CYBORDER) : 0;
    measured.pass.hMargin = ::GetSystemMetrics(SM_CXHTHUMB) / 2;
    measured.pass.vMargin = ::GetSystemMetrics(SM_CYVTHUMB) / 2;
    measured.pass.entryWidth = entryWidth;
    measured.pass.marker = SIZE{Width(footer), Height(footer)};
    measured.headerHeight = Height(ScreenRectOf(::GetDlgItem(dialog, IDC_HEADER_MARKER)));
    return measured;
}

void ExpectPlaced(LayoutHost& host, const Measured& measured) {
    const PassInputs& pass = measured.pass;
    MenuLayout& layout = *host.layout;
    const int n = layout.GetEntryCount();
    const WindowPlace window = PlaceMenuWindow(pass, n);
    const MenuRows rows = PlaceRows(pass, window, n, measured.headerHeight);
    EXPECT_EQ(window.rect, ScreenRectOf(host.m_hWnd));
    EXPECT_EQ(window.fits ? 1 : 0, layout.IsAllFit());
    EXPECT_EQ(0, layout.GetFirstVisible());
    EXPECT_EQ(rows.visible, layout.GetEndVisible());
    RECT client = {};
    ::GetClientRect(host.m_hWnd, &client);
    const int markerLeft = CentredLeft(window.rect.left, client.right, pass.marker.cx);
    for (const auto& [id, top] : {std::make_pair(IDC_HEADER_MARKER, rows.headerTop),
                                  std::make_pair(IDC_FOOTER_MARKER, rows.footerTop)}) {
        HWND marker = ::GetDlgItem(host.m_hWnd, id);
        EXPECT_EQ((RECT{markerLeft, top, markerLeft + pass.marker.cx, top + pass.marker.cy}),
                  ScreenRectOf(marker))
            << "marker " << id;
        EXPECT_FALSE(::IsWindowVisible(marker)) << "marker " << id;
    }
    HWND up = layout.GetUpButton()->m_hWnd;
    HWND down = layout.GetDownButton()->m_hWnd;
    for (const auto& [button, top] :
         {std::make_pair(up, rows.upTop), std::make_pair(down, rows.downTop)}) {
        const RECT rect = ScreenRectOf(button);
        EXPECT_EQ((POINT{CentredLeft(window.rect.left, client.right, Width(rect)), top}),
                  (POINT{rect.left, rect.top}))
            << (button == up ? "up button" : "down button");
    }
    EXPECT_FALSE(::IsWindowVisible(up));
    EXPECT_EQ(!window.fits, IsUsable(down));
    for (int i = 0; i < n; ++i) {
        SCOPED_TRACE("entry " + std::to_string(i));
        HWND entry = layout.GetEntryAt(i)->m_hWnd;
        EXPECT_EQ(i < rows.visible, ::IsWindowVisible(entry) != FALSE);
        if (i < rows.visible) {
            EXPECT_EQ(EntrySlot(pass, window, rows, i), ScreenRectOf(entry));
            EXPECT_EQ(RoundedShapeBox(pass.entryWidth, 70), RegionBoxOf(entry));
        }
    }
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
    UniqueRegion region(::CreateRectRgn(0, 0, 0, 0));
    if (::GetWindowRgn(window, region.get()) != ERROR) {
        ::GetRgnBox(region.get(), &box);
    }
    return box;
}

RECT RoundedShapeBox(int width, int height) {
    RECT box = {};
    UniqueRegion region(::CreateRoundRectRgn(0, 0, width, height, 4, 4));
    ::GetRgnBox(region.get(), &box);
    return box;
}

bool HasWindowRegion(HWND window) {
    UniqueRegion region(::CreateRectRgn(0, 0, 0, 0));
    return ::GetWindowRgn(window, region.get()) != ERROR;
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
    WindowDc dc(dialog);
    ::GetTextMetricsW(dc.get(), &metrics);
    return metrics.tmAveCharWidth;
}

ScopedWorkArea::ScopedWorkArea(const RECT& area) : m_saved(WorkArea()) {
    RECT wanted = area;
    EXPECT_TRUE(::SystemParametersInfoW(SPI_SETWORKAREA, 0, &wanted, 0));
}

ScopedWorkArea::~ScopedWorkArea() {
    ::SystemParametersInfoW(SPI_SETWORKAREA, 0, &m_saved, 0);
}
