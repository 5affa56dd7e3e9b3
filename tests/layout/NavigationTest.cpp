// Focus movement and scrolling: requests arrive as WM_NEXTDLGCTL posted to
// the host dialog (as the buttons post them), or as key-downs on the focused
// button, and the scroll commands as posted WM_COMMAND 1002 and 1003.
#include "tests/layout/LayoutHost.h"

#include "common/RectSize.h"

#include "media_menu/res/resource.h"

#include "tests/support/ProfileFile.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A work area in which the scrolling layout has room for exactly `visible`
// entries, from the template's markers as they are before the first layout,
// and one pixel short of room for another: the header marker is the taller,
// so a count worked out from the footer marker's height twice shows one more.
// For 8 entries it is taller than the screen, which SPI_SETWORKAREA accepts.
RECT WorkAreaShowing(LayoutHost& h, int visible) {
    const RECT header = ScreenRectOf(::GetDlgItem(h.m_hWnd, IDC_HEADER_MARKER));
    const RECT footer = ScreenRectOf(::GetDlgItem(h.m_hWnd, IDC_FOOTER_MARKER));
    EXPECT_GT(Height(header), Height(footer));
    return RECT{0, 0, 1024, 25 + Height(header) + Height(footer) + 142 + 71 * visible + 70};
}

// Names the focus for readable failures.
std::string Describe(MenuLayout& layout, HWND window) {
    if (window == nullptr) {
        return "nothing";
    }
    if (window == layout.GetUpButton()->m_hWnd) {
        return "up button";
    }
    if (window == layout.GetDownButton()->m_hWnd) {
        return "down button";
    }
    for (int i = 0; i < layout.GetEntryCount(); ++i) {
        if (layout.GetEntryAt(i)->m_hWnd == window) {
            return "entry " + std::to_string(i);
        }
    }
    return "another window";
}

class NavigationTest : public ::testing::Test {
protected:
    ScratchProfileFile m_profile;

    // The slots of the visible entries as the layout pass placed them.
    static std::vector<RECT> Slots(LayoutHost& h) {
        std::vector<RECT> slots;
        for (int k = h.layout->GetFirstVisible(); k < h.layout->GetEndVisible(); ++k) {
            slots.push_back(ClientRectIn(h.m_hWnd, h.layout->GetEntryAt(k)->m_hWnd));
        }
        return slots;
    }

    struct View {
        int first;
        std::string focus;
        bool upUsable;
        bool downUsable;
    };

    // The whole observable state after a step: the visible range, which
    // entries are shown and in which slot, their shapes, the focus and the
    // scroll buttons' availability.
    static void ExpectView(LayoutHost& h, const std::vector<RECT>& slots, const View& view) {
        MenuLayout& layout = *h.layout;
        const int span = static_cast<int>(slots.size());
        EXPECT_EQ(view.first, layout.GetFirstVisible());
        EXPECT_EQ(view.first + span, layout.GetEndVisible());
        for (int i = 0; i < layout.GetEntryCount(); ++i) {
            HWND entry = layout.GetEntryAt(i)->m_hWnd;
            const bool visible = i >= view.first && i < view.first + span;
            EXPECT_EQ(visible, ::IsWindowVisible(entry) != FALSE) << "entry " << i;
            if (visible) {
                EXPECT_EQ(slots[i - view.first], ClientRectIn(h.m_hWnd, entry))
                    << "slot of entry " << i;
                EXPECT_EQ(RoundedShapeBox(slots[0].right - slots[0].left, 70), RegionBoxOf(entry))
                    << "shape of entry " << i;
            }
        }
        EXPECT_EQ(view.focus, Describe(layout, ::GetFocus()));
        EXPECT_EQ(view.upUsable, IsUsable(layout.GetUpButton()->m_hWnd));
        EXPECT_EQ(view.downUsable, IsUsable(layout.GetDownButton()->m_hWnd));
    }

    // What a step does: a focus-move request as the buttons post it, a scroll
    // command, or (any other value) a key-down to the focused button.
    enum Action : UINT { kNext = 0x10000, kPrevious, kScrollUp, kScrollDown };
    struct Step {
        UINT action;
        View view; // the whole view the action leaves
    };

    static void Walk(LayoutHost& h, const std::vector<RECT>& slots,
                     const std::vector<Step>& steps) {
        for (size_t i = 0; i < steps.size(); ++i) {
            SCOPED_TRACE("step " + std::to_string(i + 1));
            switch (steps[i].action) {
            case kNext:
                h.Next();
                break;
            case kPrevious:
                h.Previous();
                break;
            case kScrollUp:
                h.Command(IDC_SCROLL_UP);
                break;
            case kScrollDown:
                h.Command(IDC_SCROLL_DOWN);
                break;
            default:
                h.KeyToFocus(steps[i].action);
                break;
            }
            ExpectView(h, slots, steps[i].view);
        }
    }
};

TEST_F(NavigationTest, TabScrollsTwelveEntriesThroughEightSlotsAndShiftTabBack) {
    LayoutHost host;
    host.Run([](LayoutHost& h) {
        ScopedWorkArea area(WorkAreaShowing(h, 8));
        MenuLayout& layout = h.Build(Captions(12));
        ASSERT_EQ(8, layout.GetEndVisible());
        const std::vector<RECT> slots = Slots(h);
        ::SetFocus(layout.GetEntryAt(0)->m_hWnd);
        h.Pump();
        ExpectView(h, slots, {0, "entry 0", false, true});
        Walk(h, slots,
             {
                 {kPrevious, {0, "entry 0", false, true}}, // at the top: Shift+Tab stays
                 {kNext, {0, "entry 1", false, true}},
                 {kNext, {0, "entry 2", false, true}},
                 {kNext, {0, "entry 3", false, true}},
                 {kNext, {0, "entry 4", false, true}},
                 {kNext, {0, "entry 5", false, true}},
                 {kNext, {0, "entry 6", false, true}},
                 {kNext, {0, "entry 7", false, true}},
                 // The lowest visible entry hands over to the down button.
                 {kNext, {0, "down button", false, true}},
                 {kNext, {1, "down button", true, true}},
                 // Back from the down button: the lowest visible entry.
                 {kPrevious, {1, "entry 8", true, true}},
                 {kNext, {1, "down button", true, true}},
                 {kNext, {2, "down button", true, true}},
                 {kNext, {3, "down button", true, true}},
                 // The end: the down button goes, the focus lands on the last entry.
                 {kNext, {4, "entry 11", true, false}},
                 {kNext, {4, "entry 11", true, false}},
                 {kPrevious, {4, "entry 10", true, false}},
                 {kPrevious, {4, "entry 9", true, false}},
                 {kPrevious, {4, "entry 8", true, false}},
                 {kPrevious, {4, "entry 7", true, false}},
                 {kPrevious, {4, "entry 6", true, false}},
                 {kPrevious, {4, "entry 5", true, false}},
                 {kPrevious, {4, "entry 4", true, false}},
                 // The topmost visible entry hands over to the up button.
                 {kPrevious, {4, "up button", true, false}},
                 {kPrevious, {3, "up button", true, true}},
                 // Forward from the up button: the topmost visible entry.
                 {kNext, {3, "entry 3", true, true}},
                 {kPrevious, {3, "up button", true, true}},
                 {kPrevious, {2, "up button", true, true}},
                 {kPrevious, {1, "up button", true, true}},
                 // The top: the up button goes, the focus lands on entry 0.
                 {kPrevious, {0, "entry 0", false, true}},
                 {kPrevious, {0, "entry 0", false, true}},
             });
        EXPECT_EQ(0, h.defaultNextDlgCtlCount);
    });
}

// The current entry at open, as the menu window reveals and focuses it.
TEST_F(NavigationTest, RevealingAnEntryBelowTheViewMakesItTheLastVisibleOne) {
    const struct {
        int index;
        View view;
    } cases[] = {
        {5, {0, "entry 5", false, true}}, // in view already: nothing moves
        {9, {2, "entry 9", true, true}},
        {11, {4, "entry 11", true, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        LayoutHost host;
        host.Run([&c](LayoutHost& h) {
            ScopedWorkArea area(WorkAreaShowing(h, 8));
            MenuLayout& layout = h.Build(Captions(12));
            const std::vector<RECT> slots = Slots(h);
            layout.RevealEntry(232 + c.index);
            ::SetFocus(layout.GetEntryAt(c.index)->m_hWnd);
            ExpectView(h, slots, c.view);
            h.Previous(); // and the keys work from there at once
            ExpectView(h, slots,
                       {c.view.first, "entry " + std::to_string(c.index - 1), c.view.upUsable,
                        c.view.downUsable});
        });
    }
}

// Seven entries of which three are shown: the end is four steps away.
TEST_F(NavigationTest, KeysOnTheFocusedButtonMoveAndScrollTheSameWay) {
    LayoutHost host;
    host.Run([](LayoutHost& h) {
        ScopedWorkArea area(WorkAreaShowing(h, 3));
        MenuLayout& layout = h.Build(Captions(7));
        ASSERT_EQ(3, layout.GetEndVisible());
        const std::vector<RECT> slots = Slots(h);
        ::SetFocus(layout.GetEntryAt(1)->m_hWnd);
        Walk(h, slots,
             {
                 {VK_TAB, {0, "entry 2", false, true}},
                 {VK_RIGHT, {0, "down button", false, true}},
                 // Holding Down on the down button scrolls one entry per key-down.
                 {VK_DOWN, {1, "down button", true, true}},
                 {VK_NEXT, {2, "down button", true, true}},
                 {VK_DOWN, {3, "down button", true, true}},
                 {VK_DOWN, {4, "entry 6", true, false}},
                 {VK_LEFT, {4, "entry 5", true, false}},
                 {VK_PRIOR, {4, "entry 4", true, false}},
                 {VK_UP, {4, "up button", true, false}},
                 {VK_UP, {3, "up button", true, true}},
                 {VK_UP, {2, "up button", true, true}},
                 {VK_UP, {1, "up button", true, true}},
                 {VK_UP, {0, "entry 0", false, true}},
             });
        // Enter on a scroll button is its command.
        ::SetFocus(layout.GetDownButton()->m_hWnd);
        Walk(h, slots, {{VK_RETURN, {1, "down button", true, true}}});
        EXPECT_EQ(0, h.defaultNextDlgCtlCount);
    });
}

TEST_F(NavigationTest, WhenAllFitNothingScrollsAndTheFocusStopsAtBothEnds) {
    ScopedWorkArea area(RECT{0, 0, 1024, 738});
    LayoutHost host;
    host.Run([](LayoutHost& h) {
        MenuLayout& layout = h.Build(Captions(4));
        ASSERT_EQ(1, layout.IsAllFit());
        const std::vector<RECT> slots = Slots(h);
        ::SetFocus(layout.GetEntryAt(0)->m_hWnd);
        Walk(h, slots,
             {
                 {kPrevious, {0, "entry 0", false, false}},
                 {kNext, {0, "entry 1", false, false}},
                 {kNext, {0, "entry 2", false, false}},
                 {kNext, {0, "entry 3", false, false}},
                 {kNext, {0, "entry 3", false, false}},
             });
        EXPECT_EQ(0, h.defaultNextDlgCtlCount);
        // Scrolling up while all fit only makes the down button usable.
        ::SetFocus(layout.GetEntryAt(2)->m_hWnd);
        Walk(h, slots, {{kScrollUp, {0, "entry 0", false, true}}});
        EXPECT_EQ(1, layout.IsAllFit());
    });
}

TEST_F(NavigationTest, ScrollCommandsAtTheirEndMoveNothingButTheFocus) {
    LayoutHost host;
    host.Run([](LayoutHost& h) {
        ScopedWorkArea area(WorkAreaShowing(h, 3));
        MenuLayout& layout = h.Build(Captions(7));
        const std::vector<RECT> slots = Slots(h);
        ::SetFocus(layout.GetEntryAt(2)->m_hWnd);
        Walk(h, slots,
             {
                 {kScrollUp, {0, "entry 0", false, true}},
                 {kScrollDown, {1, "down button", true, true}},
                 {kScrollDown, {2, "down button", true, true}},
                 {kScrollDown, {3, "down button", true, true}},
                 {kScrollDown, {4, "entry 6", true, false}},
             });
        ::SetFocus(layout.GetEntryAt(5)->m_hWnd);
        Walk(h, slots, {{kScrollDown, {4, "entry 6", true, false}}});
    });
}

TEST_F(NavigationTest, DisabledScrollButtonsComeBackWithAStepTheOtherWay) {
    m_profile.WriteEmptySection("HideUpDownWhenNotNeeded=0\r\n");
    LayoutHost host;
    host.Run([](LayoutHost& h) {
        ScopedWorkArea area(WorkAreaShowing(h, 3));
        MenuLayout& layout = h.Build(Captions(7));
        const std::vector<RECT> slots = Slots(h);
        HWND up = layout.GetUpButton()->m_hWnd;
        HWND down = layout.GetDownButton()->m_hWnd;
        ::SetFocus(layout.GetEntryAt(0)->m_hWnd);
        // Unavailable means disabled but still shown.
        EXPECT_TRUE(::IsWindowVisible(up));
        ExpectView(h, slots, {0, "entry 0", false, true});
        Walk(h, slots,
             {
                 {kScrollDown, {1, "down button", true, true}},
                 {kNext, {2, "down button", true, true}},
                 {kNext, {3, "down button", true, true}},
                 {kNext, {4, "entry 6", true, false}},
             });
        EXPECT_TRUE(::IsWindowVisible(down));
        EXPECT_FALSE(::IsWindowEnabled(down));
        Walk(h, slots,
             {
                 {kScrollUp, {3, "up button", true, true}},
                 {kPrevious, {2, "up button", true, true}},
                 {kPrevious, {1, "up button", true, true}},
                 {kPrevious, {0, "entry 0", false, true}},
             });
        EXPECT_TRUE(::IsWindowVisible(up));
        EXPECT_FALSE(::IsWindowEnabled(up));
    });
}

TEST_F(NavigationTest, FocusOutsideTheVisibleEntriesIsKeptAndTheRequestConsumed) {
    LayoutHost host;
    host.Run([](LayoutHost& h) {
        ScopedWorkArea area(WorkAreaShowing(h, 3));
        MenuLayout& layout = h.Build(Captions(7));
        const std::vector<RECT> slots = Slots(h);
        // The menu may focus the current entry although it lies below the range.
        ::SetFocus(layout.GetEntryAt(5)->m_hWnd);
        h.Next();
        ExpectView(h, slots, {0, "entry 5", false, true});
        h.Previous();
        ExpectView(h, slots, {0, "entry 5", false, true});
        // The same for a control that is no button of the layout.
        HWND other =
            ::CreateWindowExW(0, L"BUTTON", L"other", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 20,
                              20, h.m_hWnd, reinterpret_cast<HMENU>(5000), nullptr, nullptr);
        ASSERT_NE(nullptr, other);
        ::SetFocus(other);
        h.Next();
        EXPECT_EQ(other, ::GetFocus());
        h.Previous();
        EXPECT_EQ(other, ::GetFocus());
        ::DestroyWindow(other);
        EXPECT_EQ(0, h.defaultNextDlgCtlCount);
    });
}

TEST_F(NavigationTest, RequestsTheLayoutDoesNotMakeGoToTheDialogManager) {
    LayoutHost host;
    host.Run([](LayoutHost& h) {
        ScopedWorkArea area(WorkAreaShowing(h, 3));
        MenuLayout& layout = h.Build(Captions(7));
        const std::vector<RECT> slots = Slots(h);
        // A window handle in wParam (non-zero low word of lParam): the dialog
        // manager focuses that window, whatever has the focus.
        for (HWND from : {layout.GetEntryAt(0)->m_hWnd, layout.GetDownButton()->m_hWnd}) {
            ::SetFocus(from);
            h.Request(reinterpret_cast<WPARAM>(layout.GetEntryAt(2)->m_hWnd), TRUE);
            ExpectView(h, slots, {0, "entry 2", false, true});
        }
        EXPECT_EQ(2, h.defaultNextDlgCtlCount);
        // No focus at all: also the dialog manager's.
        ::SetFocus(nullptr);
        h.Next();
        EXPECT_EQ(3, h.defaultNextDlgCtlCount);
        EXPECT_EQ(0, layout.GetFirstVisible());
    });
}

} // namespace
