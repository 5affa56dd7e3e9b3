// What the layout leaves behind, and input it must survive: one entry, many
// entries, captions wider than the screen, an entry without a window.
#include "tests/layout/LayoutHost.h"

#include "media_menu/res/resource.h"

#include "tests/support/ProfileFile.h"

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

TEST_F(MenuLayoutLifetimeTest, EntriesAreReachedByIndexAndWrittenBackInPlace) {
    LayoutHost host;
    host.Run([](LayoutHost& h) {
        MenuLayout& layout = h.Build({L"One", L"Two", L"Three"});
        EntryButton* second = layout.GetEntryAt(1);
        ASSERT_NE(nullptr, second);
        EXPECT_EQ(233, ::GetDlgCtrlID(second->m_hWnd));
        EXPECT_EQ(nullptr, layout.GetEntryAt(-1));
        EXPECT_EQ(nullptr, layout.GetEntryAt(3));
        layout.SetEntryAt(3, second); // out of range: nothing happens
        layout.SetEntryAt(-1, second);
        EXPECT_EQ(3, layout.GetEntryCount());
        EntryButton* first = layout.GetEntryAt(0);
        layout.SetEntryAt(0, second);
        layout.SetEntryAt(1, first);
        EXPECT_EQ(233, ::GetDlgCtrlID(layout.GetEntryAt(0)->m_hWnd));
        EXPECT_EQ(232, ::GetDlgCtrlID(layout.GetEntryAt(1)->m_hWnd));
    });
}

TEST_F(MenuLayoutLifetimeTest, OneEntryFitsWithTheSubstituteWidth) {
    ScopedWorkArea area(RECT{0, 0, 1024, 738});
    LayoutHost host;
    host.Run([](LayoutHost& h) {
        MenuLayout& layout = h.Build({L"Media Player"});
        const RECT window = ScreenRectOf(h.m_hWnd);
        EXPECT_EQ(410, window.right - window.left);
        EXPECT_EQ(80, window.bottom - window.top);
        EXPECT_EQ(1, layout.IsAllFit());
        EXPECT_EQ(1, layout.GetEndVisible());
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
            EXPECT_EQ(Text(slots[k]), Text(ClientRectIn(h.m_hWnd, entry))) << k;
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
        EXPECT_EQ(Text(slots[0]), Text(ClientRectIn(h.m_hWnd, layout.GetEntryAt(0)->m_hWnd)));
    });
}

TEST_F(MenuLayoutLifetimeTest, CaptionsWiderThanTheWorkAreaWidenTheWindowBeyondIt) {
    ScopedWorkArea area(RECT{0, 0, 1024, 738});
    LayoutHost host;
    host.Run([](LayoutHost& h) {
        const std::wstring longest(259, L'W');
        MenuLayout& layout = h.Build({L"short", longest, std::wstring(259, L'i')});
        HWND entry = layout.GetEntryAt(1)->m_hWnd;
        HDC dc = ::GetDC(entry);
        const int measured = TextWidth(dc, longest);
        ::ReleaseDC(entry, dc);
        ASSERT_GT(measured, 1024);
        const int entryWidth = measured + AverageCharWidth(h.m_hWnd);

        const RECT window = ScreenRectOf(h.m_hWnd);
        EXPECT_EQ(entryWidth + 10, window.right - window.left);
        EXPECT_EQ(1024 - ::GetSystemMetrics(SM_CXHTHUMB) / 2 - 10 - entryWidth, window.left);
        EXPECT_EQ(Text(RECT{5, 76, 5 + entryWidth, 146}), Text(ClientRectIn(h.m_hWnd, entry)));
        EXPECT_EQ(1, layout.IsAllFit());
    });
}

// A CBT hook that refuses every window creation while it is installed.
LRESULT CALLBACK RefuseCreation(int code, WPARAM wParam, LPARAM lParam) {
    return code == HCBT_CREATEWND ? 1 : ::CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(MenuLayoutLifetimeTest, AnEntryWhoseWindowWasNotCreatedIsDropped) {
    ScopedWorkArea area(RECT{0, 0, 1024, 738});
    LayoutHost host;
    host.Run([](LayoutHost& h) {
        MenuLayout* layout = new MenuLayout(&h);
        h.layout = layout;
        layout->BeginUpdate();
        layout->AddEntry(232, L"One");
        HHOOK hook = ::SetWindowsHookExW(WH_CBT, RefuseCreation, nullptr, ::GetCurrentThreadId());
        layout->AddEntry(233, L"Refused");
        ::UnhookWindowsHookEx(hook);
        layout->AddEntry(234, L"Three");
        layout->EndUpdate();
        ASSERT_EQ(2, layout->GetEntryCount());
        HWND third = layout->GetEntryAt(1)->m_hWnd;
        EXPECT_EQ(234, ::GetDlgCtrlID(third));

        EXPECT_EQ(0, layout->Layout());
        EXPECT_EQ(71 * 2 + 9, ScreenRectOf(h.m_hWnd).bottom - ScreenRectOf(h.m_hWnd).top);
        EXPECT_EQ(Text(RECT{5, 76, 405, 146}), Text(ClientRectIn(h.m_hWnd, third)));
    });
}

} // namespace
