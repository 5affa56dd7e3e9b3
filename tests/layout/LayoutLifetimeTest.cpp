// What the layout leaves behind, and input it must survive: one entry, many
// entries, captions wider than the screen, an entry without a window.
#include "tests/layout/LayoutHost.h"

#include "media_menu/res/resource.h"

#include "common/UniqueHandle.h"
#include "tests/support/ProfileFile.h"
#include "tests/support/WindowCreationRefusal.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class MenuLayoutLifetimeTest : public ::testing::Test {
protected:
    ScratchProfileFile m_profile;
};

std::vector<int> Sorted(std::vector<int> ids) {
    std::sort(ids.begin(), ids.end());
    return ids;
}

TEST_F(MenuLayoutLifetimeTest, DestroyEntriesThenDeleteLeavesOnlyTheTemplatesControls) {
    ScopedWorkArea area(RECT{0, 0, 1024, 738});
    LayoutHost host;
    host.Run([](LayoutHost& h) {
        const std::vector<int> templateIds = {IDC_FOOTER_MARKER, IDC_HEADER_MARKER, IDC_LOGO};
        MenuLayout& layout = h.Build({L"One", L"Two", L"Three"});
        EXPECT_EQ(
            Sorted({232, 233, 234, IDC_FOOTER_MARKER, IDC_HEADER_MARKER, IDC_LOGO, IDC_LOGO, 1003}),
            Sorted(ChildIds(h.m_hWnd)))
            << "the up button shares its id with the logo";
        HWND entry = layout.GetEntryAt(0)->m_hWnd;

        EXPECT_EQ(1, layout.DestroyEntries());
        EXPECT_FALSE(::IsWindow(entry));
        EXPECT_EQ(0, layout.GetEntryCount());
        EXPECT_EQ(nullptr, layout.GetEntryAt(0));
        EXPECT_EQ(Sorted({IDC_FOOTER_MARKER, IDC_HEADER_MARKER, IDC_LOGO, IDC_LOGO, 1003}),
                  Sorted(ChildIds(h.m_hWnd)))
            << "the scroll buttons outlive the entries";
        // Nothing left to show or move, and the operations still behave.
        EXPECT_EQ(0, layout.GetEndVisible());
        layout.ScrollDown();
        layout.RepaintAll();
        EXPECT_EQ(0, layout.GetFirstVisible());
        EXPECT_EQ(0, layout.GetEndVisible());

        delete h.layout;
        h.layout = nullptr;
        EXPECT_EQ(Sorted(templateIds), Sorted(ChildIds(h.m_hWnd)));
    });
}

TEST_F(MenuLayoutLifetimeTest, EntriesAreReachedByIndex) {
    LayoutHost host;
    host.Run([](LayoutHost& h) {
        MenuLayout& layout = h.Build({L"One", L"Two", L"Three"});
        EntryButton* second = layout.GetEntryAt(1);
        ASSERT_NE(nullptr, second);
        EXPECT_EQ(233, ::GetDlgCtrlID(second->m_hWnd));
        EXPECT_EQ(nullptr, layout.GetEntryAt(-1));
        EXPECT_EQ(nullptr, layout.GetEntryAt(3));
        EXPECT_EQ(3, layout.GetEntryCount());
    });
}

TEST_F(MenuLayoutLifetimeTest, ThreeHundredEntriesScrollKeepingTheirSpanInsideTheList) {
    ScopedWorkArea area(RECT{0, 0, 1024, 738});
    LayoutHost host;
    host.Run([](LayoutHost& h) {
        std::vector<std::wstring> captions;
        for (int i = 0; i < 300; ++i) {
            captions.push_back(L"Entry " + std::to_wstring(i));
        }
        MenuLayout& layout = h.Build(captions);
        const int span = layout.GetEndVisible();
        ASSERT_GT(span, 0);
        ASSERT_LT(span, 300);
        EXPECT_EQ(0, layout.IsAllFit());
        EXPECT_FALSE(::IsWindowVisible(layout.GetEntryAt(299)->m_hWnd));
        std::vector<RECT> slots;
        for (int k = 0; k < span; ++k) {
            slots.push_back(ClientRectIn(h.m_hWnd, layout.GetEntryAt(k)->m_hWnd));
        }

        // Every step repaints the shown entries; a few dozen are enough.
        const int steps = 20;
        for (int step = 1; step <= steps; ++step) {
            layout.ScrollDown();
            ASSERT_EQ(step, layout.GetFirstVisible());
            ASSERT_EQ(span, layout.GetEndVisible() - layout.GetFirstVisible());
        }
        for (int k = 0; k < span; ++k) {
            HWND entry = layout.GetEntryAt(steps + k)->m_hWnd;
            EXPECT_EQ(slots[k], ClientRectIn(h.m_hWnd, entry)) << k;
            EXPECT_TRUE(::IsWindowVisible(entry));
        }
        EXPECT_FALSE(::IsWindowVisible(layout.GetEntryAt(steps - 1)->m_hWnd));
        EXPECT_EQ(layout.GetDownButton()->m_hWnd, ::GetFocus());

        for (int step = 0; step < steps + 5; ++step) {
            layout.ScrollUp();
            ASSERT_LE(0, layout.GetFirstVisible());
            ASSERT_EQ(span, layout.GetEndVisible() - layout.GetFirstVisible());
        }
        EXPECT_EQ(0, layout.GetFirstVisible());
        EXPECT_EQ(layout.GetEntryAt(0)->m_hWnd, ::GetFocus());
        EXPECT_EQ(slots[0], ClientRectIn(h.m_hWnd, layout.GetEntryAt(0)->m_hWnd));
    });
}

TEST_F(MenuLayoutLifetimeTest, CaptionsWiderThanTheWorkAreaKeepTheWindowInsideIt) {
    ScopedWorkArea area(RECT{0, 0, 1024, 738});
    LayoutHost host;
    host.Run([](LayoutHost& h) {
        Measured measured = Measure(h.m_hWnd, 0);
        const std::wstring longest(259, L'W');
        h.Build({L"short", longest, std::wstring(259, L'i')});
        {
            WindowDc dc(h.layout->GetEntryAt(1)->m_hWnd);
            measured.pass.entryWidth = TextWidth(dc.get(), longest) + AverageCharWidth(h.m_hWnd);
        }
        ASSERT_GT(measured.pass.entryWidth, 1024);
        measured.pass.entryWidth = 1024 - 10;
        ExpectPlaced(h, measured);
    });
}

TEST_F(MenuLayoutLifetimeTest, AnEntryWhoseWindowWasNotCreatedIsDropped) {
    ScopedWorkArea area(RECT{0, 0, 1024, 738});
    LayoutHost host;
    host.Run([](LayoutHost& h) {
        MenuLayout* layout = new MenuLayout(&h);
        h.layout = layout;
        layout->BeginUpdate();
        layout->AddEntry(232, L"One");
        {
            WindowCreationRefusal refusal;
            layout->AddEntry(233, L"Refused");
        }
        layout->AddEntry(234, L"Three");
        layout->EndUpdate();
        ASSERT_EQ(2, layout->GetEntryCount());
        EXPECT_EQ(234, ::GetDlgCtrlID(layout->GetEntryAt(1)->m_hWnd));
        const Measured measured = Measure(h.m_hWnd, 400);
        EXPECT_EQ(0, layout->Layout());
        ExpectPlaced(h, measured);
    });
}

} // namespace
