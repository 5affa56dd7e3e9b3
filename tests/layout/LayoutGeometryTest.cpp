// The layout pass in a dialog built from the menu's template: the layout
// measures the work area, the system metrics, the template's markers and the
// captions, and puts every window where MenuGeometry says (its arithmetic is
// checked in MenuGeometryTest); the window's shape, the scroll buttons' looks
// and the visible range.
#include "tests/layout/LayoutHost.h"

#include "common/RectSize.h"
#include "common/UniqueHandle.h"
#include "media_menu/res/resource.h"
#include "common/ComPtr.h"
#include "tests/support/ProfileFile.h"
#include "tests/support/TestPaths.h"

#include <oleacc.h>

#include <gtest/gtest.h>

namespace {

class MenuLayoutGeometryTest : public ::testing::Test {
protected:
    ScratchProfileFile m_profile; // no switches unless a test writes them
};

TEST_F(MenuLayoutGeometryTest, EveryWindowGoesWhereTheGeometrySaysForWhatWasMeasured) {
    // Several layouts in one host. A scrolling layout reads the header
    // marker's height: in a fresh host the template's, after a layout the
    // footer marker's.
    const struct {
        const char* profile;
        LONG workHeight;
        std::vector<int> entryCounts;
    } hosts[] = {
        {"", 738, {12, 4, 0, 1}},
        {"", 100, {3}}, // no room for one entry: none shown
        {"Add Caption=1\r\n", 738, {4, 12}},
    };
    for (const auto& row : hosts) {
        SCOPED_TRACE(::testing::Message() << row.profile << " work height " << row.workHeight);
        m_profile.WriteEmptySection(row.profile);
        ScopedWorkArea area(RECT{0, 0, 1024, row.workHeight});
        LayoutHost host;
        host.Run([&row](LayoutHost& h) {
            const bool captioned = (::GetWindowLongW(h.m_hWnd, GWL_STYLE) & WS_CAPTION) != 0;
            EXPECT_EQ(row.profile[0] != '\0', captioned);
            for (int count : row.entryCounts) {
                SCOPED_TRACE(::testing::Message() << count << " entries");
                const Measured measured = Measure(h.m_hWnd, 400);
                h.Build(Captions(count));
                ExpectPlaced(h, measured);
                // Rounded corners come from a window region; with a title
                // bar the window keeps its rectangle.
                UniqueRegion region(::CreateRectRgn(0, 0, 0, 0));
                EXPECT_EQ(captioned, ::GetWindowRgn(h.m_hWnd, region.get()) == ERROR);
                if (!captioned) {
                    const RECT window = ScreenRectOf(h.m_hWnd);
                    EXPECT_FALSE(::PtInRegion(region.get(), 0, 0));
                    EXPECT_TRUE(::PtInRegion(region.get(), Width(window) / 2, Height(window) / 2));
                }
            }
        });
    }
}

TEST_F(MenuLayoutGeometryTest, EntriesAreWidenedToTheirCaptionAsDrawnUpToTheWorkAreaWidth) {
    ScopedWorkArea area(RECT{0, 0, 1024, 738});
    LayoutHost host;
    host.Run([](LayoutHost& h) {
        // Captions measured in the font the entries draw them in; each needs
        // one average character of that font besides.
        h.Build({L"probe"});
        EntryButton* probe = h.layout->GetEntryAt(0);
        std::wstring justWider;
        std::wstring tooWide;
        {
            WindowDc dc(probe->m_hWnd);
            UniqueFont font = probe->CreateCaptionFont(dc.get());
            ScopedSelection selection(dc.get(), font.get());
            TEXTMETRICW metrics = {};
            ::GetTextMetricsW(dc.get(), &metrics);
            justWider = CaptionOfWidth(dc.get(), 401 - metrics.tmAveCharWidth);
            tooWide = CaptionOfWidth(dc.get(), 1100);
        }
        const struct {
            std::wstring widest;
            int entryWidth;
        } rows[] = {{justWider, 401}, {tooWide, 1014}}; // the window stays inside the work area
        for (const auto& row : rows) {
            SCOPED_TRACE(row.entryWidth);
            ASSERT_FALSE(row.widest.empty());
            MenuLayout& layout = h.Build({L"a", row.widest, L"b"});
            EXPECT_EQ(row.entryWidth + 10, Width(ScreenRectOf(h.m_hWnd)));
            EXPECT_EQ(row.entryWidth, Width(ScreenRectOf(layout.GetEntryAt(1)->m_hWnd)));
        }
    });
}

TEST_F(MenuLayoutGeometryTest, StepsThroughAnEmptyVisibleRangeKeepItInsideTheList) {
    ScopedWorkArea area(RECT{0, 0, 1024, 100}); // no room for one entry
    LayoutHost host;
    host.Run([](LayoutHost& h) {
        MenuLayout& layout = h.Build(Captions(3));
        ASSERT_EQ(0, layout.GetEndVisible());
        for (int step = 1; step <= 4; ++step) {
            layout.ScrollDown();
            EXPECT_EQ(layout.GetFirstVisible(), layout.GetEndVisible());
            EXPECT_EQ(step < 3 ? step : 3, layout.GetEndVisible());
        }
    });
}

TEST_F(MenuLayoutGeometryTest, ScrollButtonsAreTrianglesShownDisabledWhenTheSettingIsOff) {
    m_profile.WriteEmptySection("HideUpDownWhenNotNeeded=0\r\n");
    ScopedWorkArea area(RECT{0, 0, 1024, 738});
    LayoutHost host;
    host.Run([](LayoutHost& h) {
        for (int count : {3, 12}) {
            SCOPED_TRACE(count);
            MenuLayout& layout = h.Build(Captions(count));
            HWND up = layout.GetUpButton()->m_hWnd;
            HWND down = layout.GetDownButton()->m_hWnd;
            EXPECT_TRUE(::IsWindowVisible(up));
            EXPECT_FALSE(::IsWindowEnabled(up));
            EXPECT_TRUE(::IsWindowVisible(down));
            EXPECT_EQ(count == 12, ::IsWindowEnabled(down) != FALSE);
            // 38 wide at most, and the shape's corners are outside.
            EXPECT_LE(Width(RegionBoxOf(down)), 39);
            UniqueRegion region(::CreateRectRgn(0, 0, 0, 0));
            ASSERT_NE(ERROR, ::GetWindowRgn(down, region.get()));
            EXPECT_FALSE(::PtInRegion(region.get(), 1, 17));
            EXPECT_TRUE(::PtInRegion(region.get(), 19, 5));
        }
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
        EXPECT_EQ(before, ScreenRectOf(h.m_hWnd));
        // The entries keep the size and place they were created with.
        EXPECT_EQ(created, ClientRectIn(h.m_hWnd, layout->GetEntryAt(1)->m_hWnd));
        EXPECT_EQ(nullptr, layout->GetUpButton()->m_hWnd);
        EXPECT_EQ(nullptr, layout->GetDownButton()->m_hWnd);
        EXPECT_EQ(0, layout->IsAllFit());
        EXPECT_EQ(0, layout->GetEndVisible());

        layout->EndUpdate();
        EXPECT_EQ(before, ScreenRectOf(h.m_hWnd)) << "EndUpdate does not lay out";
        EXPECT_EQ(0, layout->Layout());
        EXPECT_EQ(410, Width(ScreenRectOf(h.m_hWnd)));
        EXPECT_EQ(1, layout->IsAllFit());
        EXPECT_NE(nullptr, layout->GetUpButton()->m_hWnd);
    });
}

TEST_F(MenuLayoutGeometryTest, DpiChangeLaysTheMenuOutAgainWhereTheSystemSuggests) {
    ScopedWorkArea area(RECT{0, 0, 1024, 738});
    LayoutHost host;
    host.Run([](LayoutHost& h) {
        MenuLayout& layout = h.Build(Captions(12));
        h.Command(IDC_SCROLL_DOWN);
        RECT suggested = {100, 20, 715, 719};
        h.SendMessage(WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
        h.Pump();
        // Entries 600 wide between margins of 8, as high as the work area
        // less 38; the list starts from its first entry again.
        EXPECT_EQ((RECT{100, 20, 716, 720}), ScreenRectOf(h.m_hWnd));
        EXPECT_EQ(0, layout.GetFirstVisible());
        const int visible = layout.GetEndVisible();
        ASSERT_GE(visible, 2);
        const RECT first = ScreenRectOf(layout.GetEntryAt(0)->m_hWnd);
        EXPECT_EQ(108, first.left);
        // Entries 105 high, 107 apart, and so one step of scrolling.
        auto slot = [&first](int k) {
            return RECT{108, first.top + 107 * k, 708, first.top + 107 * k + 105};
        };
        for (int i = 0; i < 12; ++i) {
            SCOPED_TRACE(::testing::Message() << "entry " << i);
            HWND entry = layout.GetEntryAt(i)->m_hWnd;
            EXPECT_EQ(i < visible, ::IsWindowVisible(entry) != FALSE);
            if (i < visible) {
                EXPECT_EQ(slot(i), ScreenRectOf(entry));
            }
        }
        EXPECT_LE(ScreenRectOf(layout.GetDownButton()->m_hWnd).bottom, 720);
        // Triangles 57 wide, 84 and 29 high, as the platform rasterises the
        // paths (the up one without its right and bottom edges).
        EXPECT_EQ((RECT{0, 0, 56, 83}), RegionBoxOf(layout.GetUpButton()->m_hWnd));
        EXPECT_EQ((RECT{0, 0, 57, 29}), RegionBoxOf(layout.GetDownButton()->m_hWnd));
        h.Command(IDC_SCROLL_DOWN);
        EXPECT_EQ(1, layout.GetFirstVisible());
        EXPECT_EQ(slot(0), ScreenRectOf(layout.GetEntryAt(1)->m_hWnd));
        EXPECT_EQ(slot(visible - 1), ScreenRectOf(layout.GetEntryAt(visible)->m_hWnd));
    });
}

TEST_F(MenuLayoutGeometryTest, ScreenReadersReadEachButtonsNameAndWhetherItIsShown) {
    ScopedWorkArea area(RECT{0, 0, 1024, 738});
    LayoutHost host;
    host.Run([](LayoutHost& h) {
        MenuLayout& layout = h.Build(Captions(12));
        // Under Wine the role is a client object rather than a push button.
        const struct {
            HWND window;
            const wchar_t* name;
            LONG state; // of these two: invisible, unavailable
        } rows[] = {
            {layout.GetUpButton()->m_hWnd, L"Scroll up", STATE_SYSTEM_INVISIBLE},
            {layout.GetDownButton()->m_hWnd, L"Scroll down", 0},
            {layout.GetEntryAt(0)->m_hWnd, L"Entry 1", 0},
            {layout.GetEntryAt(11)->m_hWnd, L"Entry 12", STATE_SYSTEM_INVISIBLE},
        };
        for (const auto& row : rows) {
            SCOPED_TRACE(Utf8(row.name));
            ComPtr<IAccessible> accessible;
            ASSERT_EQ(S_OK, ::AccessibleObjectFromWindow(row.window, OBJID_CLIENT, IID_IAccessible,
                                                         accessible.put_void()));
            VARIANT self = {};
            self.vt = VT_I4;
            self.lVal = CHILDID_SELF;
            BSTR name = nullptr;
            ASSERT_EQ(S_OK, accessible->get_accName(self, &name));
            EXPECT_EQ(std::wstring(row.name), std::wstring(name, ::SysStringLen(name)));
            ::SysFreeString(name);
            VARIANT state = {};
            ASSERT_EQ(S_OK, accessible->get_accState(self, &state));
            EXPECT_EQ(row.state, state.lVal & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_UNAVAILABLE));
        }
    });
}

} // namespace
