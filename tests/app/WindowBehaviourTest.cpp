// How the open menu window reacts: losing the activation, the profile
// switches for the title bar and for dragging, timer 1, F1, and a click on
// the logo picture.
#include "MenuTest.h"

namespace {

// A point of the menu's black surface that no button covers: the left
// margin, halfway down.
POINT BlackSurfacePoint(const MenuSession& menu) {
    RECT window = menu.WindowRect();
    return menu.ClientToScreen(POINT{2, (window.bottom - window.top) / 2});
}

class MenuAppWindowTest : public MenuTest {
protected:
    // The menu of the tests that use StaysOpen: two entries, the focus on
    // the second.
    static void AddTwoEntriesFocusingTheSecond() {
        AddEntries({L"One", L"Two"});
        SetCurrentSelection(L"Two");
    }
};

// True when the menu is still open and on top once it has handled all that
// came before. It is made the foreground window again (it may have lost
// that) and Up is pressed: a thread handles keyboard input only after the
// messages sent and posted to it before, a WM_CLOSE it posted itself
// included, so when the focus is seen on the first entry, anything that
// would have closed the menu has done so.
bool StaysOpen(MenuSession& menu) {
    ::SetForegroundWindow(menu.Window());
    WaitUntil([&] { return ::GetForegroundWindow() == menu.Window() || !menu.IsOpen(); }, 5000);
    menu.PressKey(VK_UP);
    WaitUntil([&] { return menu.FocusedId() == kFirstEntryId || !menu.IsOpen(); }, 5000);
    return menu.IsOpen() && menu.FocusedId() == kFirstEntryId &&
           (menu.ExStyle() & WS_EX_TOPMOST) != 0;
}

RECT Moved(RECT rect, int dx, int dy) {
    ::OffsetRect(&rect, dx, dy);
    return rect;
}

// The menu window's rectangle once it is expected, or when the wait runs out.
RECT WindowRectOnceAt(const MenuSession& menu, const RECT& expected) {
    WaitUntil([&] { return menu.WindowRect() == expected; }, 5000);
    return menu.WindowRect();
}

TEST_F(MenuAppWindowTest, AnotherApplicationBecomingActiveClosesTheMenu) {
    MenuSession menu;
    ASSERT_TRUE(menu.WaitForMenu());
    OwnWindow other({});
    ASSERT_TRUE(other.Activate()) << "the test's window could not be activated";
    EXPECT_TRUE(menu.WaitForExit()) << "the menu stayed open";
}

TEST_F(MenuAppWindowTest, AddCaptionGivesATitleBarAndSquareCorners) {
    m_profile.WriteEmptySection("Add Caption=1\r\n");
    OwnWindow backdrop(Backdrop());
    MenuSession menu;
    ASSERT_TRUE(menu.WaitForMenu());

    EXPECT_EQ(static_cast<LONG>(WS_CAPTION), menu.Style() & WS_CAPTION) << std::hex << menu.Style();
    EXPECT_FALSE(menu.HasWindowRegion()) << "a captioned menu keeps its rectangle";
    // One entry: 71 + 9, plus the caption and both borders.
    const RECT window = menu.WindowRect();
    EXPECT_EQ(CentredOnScreen(410, 71 + 9 + ::GetSystemMetrics(SM_CYCAPTION) +
                                       2 * ::GetSystemMetrics(SM_CYBORDER)),
              window);
    // Square corners: the window, not the backdrop, at the corner pixels.
    const POINT corners[] = {{window.left, window.top}, {window.right - 1, window.bottom - 1}};
    Picture shot;
    WaitUntil(
        [&] {
            shot = ScreenPicture(OwnWindow::ScreenRect());
            return shot.At(corners[0]) != kBackdrop && shot.At(corners[1]) != kBackdrop;
        },
        5000);
    for (POINT corner : corners) {
        EXPECT_NE(Colour(kBackdrop), shot.At(corner)) << corner.x << ", " << corner.y;
    }

    // Dragged by its title bar, "Allow Menu Reposition" being off.
    POINT grip = {(window.left + window.right) / 2,
                  window.top + ::GetSystemMetrics(SM_CYCAPTION) / 2};
    EXPECT_EQ(HTCAPTION, menu.HitTest(grip));
    menu.Drag(grip, POINT{grip.x - 50, grip.y + 40});
    EXPECT_EQ(Moved(window, -50, 40), WindowRectOnceAt(menu, Moved(window, -50, 40)));
    EXPECT_TRUE(menu.CloseWithEscape());
}

TEST_F(MenuAppWindowTest, TheBodyCanBeDraggedOnlyWithAllowMenuReposition) {
    AddTwoEntriesFocusingTheSecond();
    for (bool allowed : {true, false}) {
        SCOPED_TRACE(allowed ? "allowed" : "not allowed");
        m_profile.WriteEmptySection(allowed ? "Allow Menu Reposition=1\r\n" : "");
        MenuSession menu;
        ASSERT_TRUE(menu.WaitForMenu());
        const RECT window = menu.WindowRect();
        const POINT grip = BlackSurfacePoint(menu);
        EXPECT_EQ(allowed ? HTCAPTION : HTCLIENT, menu.HitTest(grip));
        menu.Drag(grip, POINT{grip.x + 40, grip.y + 30});
        EXPECT_TRUE(StaysOpen(menu));
        const RECT expected = allowed ? Moved(window, 40, 30) : window;
        EXPECT_EQ(expected, WindowRectOnceAt(menu, expected));
        EXPECT_TRUE(menu.CloseWithEscape());
    }
}

TEST_F(MenuAppWindowTest, TimerOneClosesTheMenuOtherTimersDoNot) {
    AddTwoEntriesFocusingTheSecond();
    MenuSession menu;
    ASSERT_TRUE(menu.WaitForMenu());
    menu.Post(WM_TIMER, 2, 0);
    menu.Post(WM_TIMER, 7, 0);
    EXPECT_TRUE(StaysOpen(menu)) << "closed by a timer other than 1";
    menu.Post(WM_TIMER, 1, 0);
    EXPECT_TRUE(menu.WaitForExit()) << "timer 1 did not close the menu";
}

TEST_F(MenuAppWindowTest, F1DoesNothing) {
    AddTwoEntriesFocusingTheSecond();
    MenuSession menu;
    ASSERT_TRUE(menu.WaitForMenu());
    ASSERT_EQ(kFirstEntryId + 1, menu.FocusOnceIs(kFirstEntryId + 1));
    menu.PressKey(VK_F1);
    EXPECT_TRUE(StaysOpen(menu));
    EXPECT_EQ(1u, MenuWindowsOf(menu.Program().ProcessId()).size());
    EXPECT_EQ(TextValue(L"Two"), CurrentSelection());
    // Still answering keys.
    EXPECT_TRUE(menu.CloseWithEscape());
}

TEST_F(MenuAppWindowTest, ClickOnTheLogoActsAsScrollUp) {
    AddEntries(NumberedNames(3));
    SetCurrentSelection(L"Entry 03");
    MenuSession menu;
    ASSERT_TRUE(menu.WaitForMenu());
    ASSERT_EQ(kFirstEntryId + 2, menu.FocusOnceIs(kFirstEntryId + 2));
    EXPECT_EQ((std::vector<int>{kFirstEntryId, kFirstEntryId + 1, kFirstEntryId + 2}),
              menu.VisibleButtonIds());

    // Entry buttons may cover the logo, so the click is posted to it.
    HWND logo = nullptr;
    for (const ChildWindow& child : menu.Children()) {
        if (child.id == kScrollUpId && ::lstrcmpiW(child.className.c_str(), L"Static") == 0) {
            logo = child.hwnd;
        }
    }
    ASSERT_NE(nullptr, logo) << "no logo static 1002";
    ::PostMessageW(logo, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::PostMessageW(logo, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));

    // Scrolling up with everything fitting: nothing moves, the down button
    // becomes usable, the focus goes to the first entry.
    EXPECT_EQ(kFirstEntryId, menu.FocusOnceIs(kFirstEntryId));
    EXPECT_EQ(
        (std::vector<int>{kFirstEntryId, kFirstEntryId + 1, kFirstEntryId + 2, kScrollDownId}),
        menu.VisibleButtonIds());
    EXPECT_TRUE(menu.Child(kScrollDownId).enabled);
    EXPECT_TRUE(menu.CloseWithEscape());
}

TEST_F(MenuAppWindowTest, WithCloseOnDeactivationOffTheMenuStaysOpenUntilItIsSwitchedOn) {
    m_profile.WriteEmptySection("Close On Deactivation=0\r\n");
    AddTwoEntriesFocusingTheSecond();
    MenuSession menu;
    ASSERT_TRUE(menu.WaitForMenu());
    OwnWindow other({});
    ASSERT_TRUE(other.Activate()) << "the test's window could not be activated";
    ASSERT_TRUE(StaysOpen(menu)) << "the menu closed or left the top";

    // Switched on while the menu is open: the next deactivation closes it.
    m_profile.WriteEmptySection("Close On Deactivation=1\r\n");
    ::SetForegroundWindow(menu.Window());
    ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == menu.Window(); }, 5000))
        << "the menu could not be activated again";
    ASSERT_TRUE(other.Activate());
    EXPECT_TRUE(menu.WaitForExit()) << "the menu stayed open";
}

TEST_F(MenuAppWindowTest, AllowMenuRepositionIsReadAtEveryHitTestAndIgnoredWithATitleBar) {
    MenuSession menu;
    ASSERT_TRUE(menu.WaitForMenu());
    POINT body = BlackSurfacePoint(menu);
    EXPECT_EQ(HTCLIENT, menu.HitTest(body));
    m_profile.WriteEmptySection("Allow Menu Reposition=1\r\n");
    EXPECT_EQ(HTCAPTION, menu.HitTest(body)) << "the switch was not read again";
    EXPECT_TRUE(menu.CloseWithEscape());

    // With a title bar the body is client area whatever the switch says.
    m_profile.WriteEmptySection("Allow Menu Reposition=1\r\nAdd Caption=1\r\n");
    MenuSession captioned;
    ASSERT_TRUE(captioned.WaitForMenu());
    EXPECT_EQ(HTCLIENT, captioned.HitTest(BlackSurfacePoint(captioned)));
    EXPECT_TRUE(captioned.CloseWithEscape());
}

TEST_F(MenuAppWindowTest, WindowCornerSettingsShapeTheOutline) {
    // A 100 x 60 corner ellipse cuts off much more than the default 25 x 25.
    m_profile.WriteEmptySection("Window Elliptical Width=100\r\nWindow Elliptical Height=60\r\n");
    OwnWindow backdrop(Backdrop());
    AddEntries({L"One", L"Two"});
    MenuSession menu;
    ASSERT_TRUE(menu.WaitForMenu());
    RECT window = menu.WindowRect();
    const int middleY = (window.top + window.bottom) / 2;
    ExpectScreenPixels({
        {"inside the large corner", {window.left + 12, window.top + 6}, kBackdrop, 0},
        {"inside the large corner", {window.right - 13, window.bottom - 7}, kBackdrop, 0},
        {"left margin", {window.left + 2, middleY}, RGB(0, 0, 0), 0},
    });
    EXPECT_TRUE(menu.CloseWithEscape());
}

TEST_F(MenuAppWindowTest, EmptyEntryListGivesAnEmptyMenuThatStillCloses) {
    SetCurrentSelection(L"Gone");
    ASSERT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, kMediaKey));
    MenuSession menu;
    ASSERT_TRUE(menu.WaitForMenu());
    EXPECT_EQ(std::vector<int>{}, menu.VisibleButtonIds());
    EXPECT_EQ(CentredOnScreen(410, 9), menu.WindowRect());
    EXPECT_TRUE(RegistrySubKeyNames(HKEY_CURRENT_USER, kMediaKey).empty());
    menu.PressKey(VK_ESCAPE);
    EXPECT_TRUE(menu.WaitForExit()) << "Escape did not close the empty menu";
}

TEST_F(MenuAppWindowTest, CloseRequestsArrivingTogetherEndTheMenuOnce) {
    // As when a choice and a deactivation both ask the menu to close.
    MenuSession menu;
    ASSERT_TRUE(menu.WaitForMenu());
    menu.Post(WM_CLOSE);
    menu.Post(WM_CLOSE);
    menu.Post(WM_TIMER, 1, 0);
    EXPECT_TRUE(menu.WaitForExit());
    EXPECT_EQ(0u, menu.Program().ExitCode()) << std::hex << menu.Program().ExitCode();
}

} // namespace
