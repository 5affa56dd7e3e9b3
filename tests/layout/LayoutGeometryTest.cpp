// The layout pass: the menu window's size and place from the work area and
// the entry texts, the entries' slots, the scroll buttons' places and looks,
// and the visible range, for the fitting and the scrolling layout.
#include "tests/layout/LayoutHost.h"
#include "common/RectSize.h"

#include "media_menu/res/resource.h"

#include "tests/support/ProfileFile.h"

#include <gtest/gtest.h>

namespace {

// The system values the layout reads, and the template's marker sizes as
// they are before the layout moves and resizes the markers.
struct SystemFrame {
    int hHalf;        // half the horizontal thumb width
    int vHalf;        // half the vertical thumb height
    SIZE marker;      // footer marker 1000
    int headerHeight; // header marker 1001
};

SystemFrame ReadFrame(LayoutHost& host) {
    const RECT footer = ScreenRectOf(::GetDlgItem(host.m_hWnd, IDC_FOOTER_MARKER));
    const RECT header = ScreenRectOf(::GetDlgItem(host.m_hWnd, IDC_HEADER_MARKER));
    return SystemFrame{::GetSystemMetrics(SM_CXHTHUMB) / 2, ::GetSystemMetrics(SM_CYVTHUMB) / 2,
                       SIZE{footer.right - footer.left, footer.bottom - footer.top},
                       header.bottom - header.top};
}

std::vector<std::wstring> Captions(int count) {
    std::vector<std::wstring> captions;
    for (int i = 0; i < count; ++i) {
        captions.push_back(L"Entry " + std::to_wstring(i + 1));
    }
    return captions;
}

class MenuLayoutGeometryTest : public ::testing::Test {
protected:
    ScratchProfileFile m_profile; // no profile file unless a test writes one
};

TEST_F(MenuLayoutGeometryTest, FourShortEntriesFitInTheWorkAreasBottomRightCorner) {
    // The work area and thumb sizes of the worked example: (0, 0)-(1024, 738),
    // half thumbs 8 (the test machine's thumbs are 17).
    ScopedWorkArea area(RECT{0, 0, 1024, 738});
    LayoutHost host;
    host.Run([](LayoutHost& h) {
        const SystemFrame frame = ReadFrame(h);
        MenuLayout& layout = h.Build({L"Media Player", L"Music", L"Photos", L"Web"});

        const RECT window = ScreenRectOf(h.m_hWnd);
        EXPECT_EQ(1024 - frame.hHalf - 10 - 400, window.left); // 606 with 8
        EXPECT_EQ(738 - frame.vHalf - 293, window.top);        // 437 with 8
        EXPECT_EQ(410, Width(window));
        EXPECT_EQ(293, Height(window));

        for (int i = 0; i < 4; ++i) {
            SCOPED_TRACE(i);
            HWND entry = layout.GetEntryAt(i)->m_hWnd;
            EXPECT_EQ(Text(RECT{5, 5 + 71 * i, 405, 75 + 71 * i}),
                      Text(ClientRectIn(h.m_hWnd, entry)));
            EXPECT_TRUE(::IsWindowVisible(entry));
            // Reshaped to the new size: a rounded rectangle over the whole entry.
            EXPECT_EQ(Text(RoundedShapeBox(400, 70)), Text(RegionBoxOf(entry)));
        }
        RECT client = {};
        ::GetClientRect(h.m_hWnd, &client);
        EXPECT_EQ(5, client.bottom - ClientRectIn(h.m_hWnd, layout.GetEntryAt(3)->m_hWnd).bottom)
            << "room left below the last entry";

        EXPECT_EQ(0, layout.GetFirstVisible());
        EXPECT_EQ(4, layout.GetEndVisible());
        EXPECT_EQ(1, layout.IsAllFit());
        EXPECT_FALSE(::IsWindowVisible(layout.GetUpButton()->m_hWnd));
        EXPECT_FALSE(::IsWindowVisible(layout.GetDownButton()->m_hWnd));

        // Rounded corners without a title bar: the corner pixel is cut away.
        HRGN region = ::CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(ERROR, ::GetWindowRgn(h.m_hWnd, region));
        EXPECT_FALSE(::PtInRegion(region, 0, 0));
        EXPECT_TRUE(::PtInRegion(region, 205, 146));
        ::DeleteObject(region);
        // The markers stay hidden; the footer marker is centred near the bottom.
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(h.m_hWnd, IDC_FOOTER_MARKER)));
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(h.m_hWnd, IDC_HEADER_MARKER)));
        EXPECT_EQ(Text(RECT{205 - frame.marker.cx / 2, 293 - frame.marker.cy - frame.hHalf,
                            205 - frame.marker.cx / 2 + frame.marker.cx, 293 - frame.hHalf}),
                  Text(ClientRectIn(h.m_hWnd, ::GetDlgItem(h.m_hWnd, IDC_FOOTER_MARKER))));
    });
}

TEST_F(MenuLayoutGeometryTest, NoEntriesGiveAWindow410By9WithBothScrollButtonsHidden) {
    ScopedWorkArea area(RECT{0, 0, 1024, 738});
    LayoutHost host;
    host.Run([](LayoutHost& h) {
        MenuLayout& layout = h.Build({});
        const RECT window = ScreenRectOf(h.m_hWnd);
        EXPECT_EQ(410, Width(window));
        EXPECT_EQ(9, Height(window));
        EXPECT_EQ(1, layout.IsAllFit());
        EXPECT_EQ(0, layout.GetEndVisible());
        EXPECT_FALSE(::IsWindowVisible(layout.GetUpButton()->m_hWnd));
        EXPECT_FALSE(::IsWindowVisible(layout.GetDownButton()->m_hWnd));
    });
}

TEST_F(MenuLayoutGeometryTest, EntriesAreWidenedToTheirCaptionAsDrawnUpToTheWorkAreaWidth) {
    ScopedWorkArea area(RECT{0, 0, 1024, 738});
    LayoutHost host;
    host.Run([](LayoutHost& h) {
        // Captions measured in the font the entries draw them in; each needs
        // one average character of that font besides.
        h.Build({L"probe"});
        EntryButton* probe = h.layout->GetEntryAt(0);
        HDC dc = ::GetDC(probe->m_hWnd);
        UniqueFont font = probe->CreateCaptionFont(dc);
        ScopedSelection selection(dc, font.get());
        TEXTMETRICW metrics = {};
        ::GetTextMetricsW(dc, &metrics);
        struct Case {
            std::wstring widest;
            int entryWidth;
        } cases[] = {
            {CaptionOfWidth(dc, 400 - metrics.tmAveCharWidth), 400}, // fits the usual 400
            {CaptionOfWidth(dc, 401 - metrics.tmAveCharWidth), 401},
            {CaptionOfWidth(dc, 700 - metrics.tmAveCharWidth), 700},
            {CaptionOfWidth(dc, 1100), 1014}, // the window stays inside the work area
        };
        ::ReleaseDC(probe->m_hWnd, dc);
        for (const Case& c : cases) {
            SCOPED_TRACE(c.entryWidth);
            ASSERT_FALSE(c.widest.empty());
            MenuLayout& layout = h.Build({L"a", c.widest, L"b"});
            EXPECT_EQ(c.entryWidth + 10, Width(ScreenRectOf(h.m_hWnd)));
            EXPECT_EQ(c.entryWidth, Width(ScreenRectOf(layout.GetEntryAt(1)->m_hWnd)));
        }
    });
}

TEST_F(MenuLayoutGeometryTest, FitHeightEqualToWorkHeightLess25StillFits) {
    // Four entries need 71 x 4 + 9 = 293 pixels: a work area 318 high fits
    // them, one pixel less does not.
    for (int workHeight : {318, 317}) {
        SCOPED_TRACE(workHeight);
        ScopedWorkArea area(RECT{0, 0, 1024, workHeight});
        LayoutHost host;
        host.Run([workHeight](LayoutHost& h) {
            MenuLayout& layout = h.Build(Captions(4));
            const bool fits = workHeight == 318;
            EXPECT_EQ(fits ? 1 : 0, layout.IsAllFit());
            EXPECT_EQ(fits ? 293 : workHeight - 25, Height(ScreenRectOf(h.m_hWnd)));
        });
    }
}

TEST_F(MenuLayoutGeometryTest, ScrollingLayoutFillsTheWorkHeightLess25BetweenScrollButtons) {
    ScopedWorkArea area(RECT{0, 0, 1024, 738});
    LayoutHost host;
    host.Run([](LayoutHost& h) {
        const SystemFrame frame = ReadFrame(h);
        MenuLayout& layout = h.Build(Captions(12)); // 71 x 12 + 9 > 738 - 25

        const int windowHeight = 738 - 25;
        const int visible = (windowHeight - frame.headerHeight - frame.marker.cy - 142) / 71;
        ASSERT_GT(visible, 1);
        const RECT window = ScreenRectOf(h.m_hWnd);
        EXPECT_EQ(Text(RECT{1024 - frame.hHalf - 410, 25 - frame.vHalf, 1024 - frame.hHalf,
                            738 - frame.vHalf}),
                  Text(window));
        EXPECT_EQ(0, layout.IsAllFit());
        EXPECT_EQ(0, layout.GetFirstVisible());
        EXPECT_EQ(visible, layout.GetEndVisible());

        HWND up = layout.GetUpButton()->m_hWnd;
        HWND down = layout.GetDownButton()->m_hWnd;
        const RECT upRect = ScreenRectOf(up);
        EXPECT_EQ(window.top + 5 + frame.marker.cy + 1, upRect.top);
        for (int i = 0; i < 12; ++i) {
            SCOPED_TRACE(i);
            HWND entry = layout.GetEntryAt(i)->m_hWnd;
            EXPECT_EQ(i < visible, ::IsWindowVisible(entry) != FALSE);
            if (i < visible) {
                EXPECT_EQ(Text(RECT{window.left + 5, upRect.top + 71 * (i + 1), window.left + 405,
                                    upRect.top + 71 * (i + 1) + 70}),
                          Text(ScreenRectOf(entry)));
                EXPECT_EQ(Text(RoundedShapeBox(400, 70)), Text(RegionBoxOf(entry)));
            }
        }
        EXPECT_EQ(ScreenRectOf(layout.GetEntryAt(visible - 1)->m_hWnd).top + 71,
                  ScreenRectOf(down).top);

        // Both scroll buttons centred; the up button unavailable, the down one usable.
        RECT client = {};
        ::GetClientRect(h.m_hWnd, &client);
        for (HWND button : {up, down}) {
            const RECT r = ClientRectIn(h.m_hWnd, button);
            EXPECT_EQ(client.right / 2 - Width(r) / 2, r.left);
        }
        EXPECT_FALSE(::IsWindowVisible(up));
        EXPECT_TRUE(IsUsable(down));
        // Still triangles: 38 wide at most, and the shape's corners are outside.
        EXPECT_LE(Width(RegionBoxOf(down)), 39);
        HRGN region = ::CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(ERROR, ::GetWindowRgn(down, region));
        EXPECT_FALSE(::PtInRegion(region, 1, 17));
        EXPECT_TRUE(::PtInRegion(region, 19, 5));
        ::DeleteObject(region);
    });
}

TEST_F(MenuLayoutGeometryTest, WorkAreaTooSmallForOneEntryShowsNone) {
    // A visible count that comes out negative counts as none.
    ScopedWorkArea area(RECT{0, 0, 1024, 100});
    LayoutHost host;
    host.Run([](LayoutHost& h) {
        MenuLayout& layout = h.Build(Captions(3));
        EXPECT_EQ(0, layout.IsAllFit());
        EXPECT_EQ(0, layout.GetFirstVisible());
        EXPECT_EQ(0, layout.GetEndVisible());
        for (int i = 0; i < 3; ++i) {
            EXPECT_FALSE(::IsWindowVisible(layout.GetEntryAt(i)->m_hWnd)) << i;
        }
        // Steps keep an empty range inside the list.
        for (int step = 1; step <= 4; ++step) {
            layout.ScrollDown();
            EXPECT_EQ(layout.GetFirstVisible(), layout.GetEndVisible());
            EXPECT_EQ(step < 3 ? step : 3, layout.GetEndVisible());
        }
    });
}

TEST_F(MenuLayoutGeometryTest, ScrollButtonsStayVisibleButDisabledWhenTheSettingIsOff) {
    m_profile.WriteEmptySection("HideUpDownWhenNotNeeded=0\r\n");
    ScopedWorkArea area(RECT{0, 0, 1024, 738});
    LayoutHost host;
    host.Run([](LayoutHost& h) {
        MenuLayout& layout = h.Build(Captions(3));
        HWND up = layout.GetUpButton()->m_hWnd;
        HWND down = layout.GetDownButton()->m_hWnd;
        for (HWND button : {up, down}) {
            EXPECT_TRUE(::IsWindowVisible(button));
            EXPECT_FALSE(::IsWindowEnabled(button));
        }
        // The up button centred on the first row, the down one below the last.
        RECT client = {};
        ::GetClientRect(h.m_hWnd, &client);
        const RECT upRect = ClientRectIn(h.m_hWnd, up);
        const RECT downRect = ClientRectIn(h.m_hWnd, down);
        EXPECT_EQ(5, upRect.top);
        EXPECT_EQ(5 + 71 * 3, downRect.top);
        EXPECT_EQ(client.right / 2 - Width(upRect) / 2, upRect.left);
        EXPECT_EQ(client.right / 2 - Width(downRect) / 2, downRect.left);

        h.Build(Captions(12));
        EXPECT_TRUE(::IsWindowVisible(h.layout->GetUpButton()->m_hWnd));
        EXPECT_FALSE(::IsWindowEnabled(h.layout->GetUpButton()->m_hWnd));
        EXPECT_TRUE(IsUsable(h.layout->GetDownButton()->m_hWnd));
    });
}

TEST_F(MenuLayoutGeometryTest, TitleBarKeepsTheOutlineAndShiftsEveryRowDown) {
    m_profile.WriteEmptySection("Add Caption=1\r\n");
    ScopedWorkArea area(RECT{0, 0, 1024, 738});
    LayoutHost host;
    host.Run([](LayoutHost& h) {
        ASSERT_EQ(static_cast<LONG>(WS_CAPTION),
                  ::GetWindowLongW(h.m_hWnd, GWL_STYLE) & WS_CAPTION);
        const SystemFrame frame = ReadFrame(h);
        const int shift = ::GetSystemMetrics(SM_CYCAPTION) + 2 * ::GetSystemMetrics(SM_CYBORDER);

        MenuLayout& layout = h.Build(Captions(4));
        RECT window = ScreenRectOf(h.m_hWnd);
        EXPECT_EQ(71 * 4 + 9 + shift, Height(window));
        EXPECT_EQ(738 - frame.vHalf - Height(window), window.top);
        EXPECT_FALSE(HasWindowRegion(h.m_hWnd)) << "a captioned window keeps its rectangle";
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(shift + 5 + 71 * i,
                      ScreenRectOf(layout.GetEntryAt(i)->m_hWnd).top - window.top)
                << i;
        }

        MenuLayout& scrolling = h.Build(Captions(12));
        window = ScreenRectOf(h.m_hWnd);
        EXPECT_EQ(738 - 25, Height(window));
        const int inner = 738 - 25 - shift;
        const int headerHeight = Height(ScreenRectOf(::GetDlgItem(h.m_hWnd, IDC_HEADER_MARKER)));
        // The header marker has the footer's size since the first layout.
        EXPECT_EQ((inner - headerHeight - frame.marker.cy - 142) / 71, scrolling.GetEndVisible());
        const int upTop = ScreenRectOf(scrolling.GetUpButton()->m_hWnd).top;
        EXPECT_EQ(shift + 5 + frame.marker.cy + 1, upTop - window.top);
        EXPECT_EQ(upTop + 71, ScreenRectOf(scrolling.GetEntryAt(0)->m_hWnd).top);
    });
}

TEST_F(MenuLayoutGeometryTest, LayoutWhileSuspendedChangesNothing) {
    ScopedWorkArea area(RECT{0, 0, 1024, 738});
    LayoutHost host;
    host.Run([](LayoutHost& h) {
        const RECT before = ScreenRectOf(h.m_hWnd);
        MenuLayout* layout = new MenuLayout(&h);
        h.layout = layout;
        layout->BeginUpdate();
        layout->AddEntry(232, L"One");
        layout->AddEntry(233, L"Two");
        const RECT created = ClientRectIn(h.m_hWnd, layout->GetEntryAt(1)->m_hWnd);
        EXPECT_EQ(1, layout->Layout());
        EXPECT_EQ(Text(before), Text(ScreenRectOf(h.m_hWnd)));
        // The entries keep the size and place they were created with.
        EXPECT_EQ(Text(created), Text(ClientRectIn(h.m_hWnd, layout->GetEntryAt(1)->m_hWnd)));
        EXPECT_EQ(nullptr, layout->GetUpButton()->m_hWnd);
        EXPECT_EQ(nullptr, layout->GetDownButton()->m_hWnd);
        EXPECT_EQ(0, layout->IsAllFit());
        EXPECT_EQ(0, layout->GetEndVisible());

        layout->EndUpdate();
        EXPECT_EQ(Text(before), Text(ScreenRectOf(h.m_hWnd))) << "EndUpdate does not lay out";
        EXPECT_EQ(0, layout->Layout());
        EXPECT_EQ(410, Width(ScreenRectOf(h.m_hWnd)));
        EXPECT_EQ(1, layout->IsAllFit());
        EXPECT_NE(nullptr, layout->GetUpButton()->m_hWnd);
    });
}

} // namespace
