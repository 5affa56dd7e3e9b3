// The menu as it opens: first-run values, which entry has the focus and the
// pressed look, where the window is and what it looks like on screen.
#include "MenuTest.h"

namespace {

const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kNormalBottom = RGB(0x3D, 0xB5, 0xFF);
const COLORREF kPressedBottom = RGB(0, 0, 0);
const COLORREF kHoverBottom = RGB(0x30, 0x72, 0xCA);
// A point of an entry's gradient clear of its caption and outline: near the
// bottom, a little in from the left edge.
POINT GradientSamplePoint(const RECT& entry) {
    return POINT{entry.left + 20, entry.bottom - 6};
}

COLORREF ExpectedLook(COLORREF bottom, const RECT& entry) {
    return GradientAt(bottom, entry.bottom - 6 - entry.top, entry.bottom - entry.top);
}

using MenuAppStartupTest = MenuTest;

TEST_F(MenuAppStartupTest, FirstRunWritesTheDefaultsAndShowsMediaPlayerFocusedInTheMiddle) {
    OwnWindow backdrop(Backdrop());
    MenuSession menu;
    ASSERT_TRUE(menu.WaitForMenu());

    // The six first-run values, exactly typed and sized.
    ExpectFirstRunValues();

    // One entry. The values were written before the entries were loaded:
    // only then is "Media Player" the current entry and focused (a load
    // that has to write them itself marks nothing current).
    ChildWindow entry = menu.Child(kFirstEntryId);
    EXPECT_EQ(L"Media Player", entry.text);
    EXPECT_TRUE(entry.visible);
    EXPECT_EQ(std::vector<int>{kFirstEntryId}, menu.VisibleButtonIds()) << "visible buttons";
    EXPECT_EQ(kFirstEntryId, menu.FocusOnceIs(kFirstEntryId));

    // Borderless, topmost, titled, 410 x 80 (one 400-wide entry: 71 + 9
    // high), centred on the primary screen.
    EXPECT_EQ(0, menu.Style() & WS_CAPTION) << std::hex << menu.Style();
    EXPECT_NE(0, menu.ExStyle() & WS_EX_TOPMOST) << std::hex << menu.ExStyle();
    wchar_t title[32] = {};
    ::GetWindowTextW(menu.Window(), title, 32);
    EXPECT_STREQ(L"VLTMedia", title);
    const RECT window = menu.WindowRect();
    EXPECT_EQ(CentredOnScreen(410, 80), window);
    const int width = 410;
    const int height = 80;
    EXPECT_TRUE(menu.HasWindowRegion()) << "rounded corners come from a window region";

    // On screen: the backdrop through the four cut-off corners, black
    // around the entry, the entry's pressed (focused) gradient.
    RECT entryRect = menu.Child(kFirstEntryId).rect;
    ExpectScreenPixels({
        {"top-left corner", {window.left, window.top}, kBackdrop, 0},
        {"top-right corner", {window.right - 1, window.top}, kBackdrop, 0},
        {"bottom-left corner", {window.left, window.bottom - 1}, kBackdrop, 0},
        {"bottom-right corner", {window.right - 1, window.bottom - 1}, kBackdrop, 0},
        {"left margin", menu.ClientToScreen({2, height / 2}), kBlack, 0},
        {"below the entry", menu.ClientToScreen({width / 2, height - 3}), kBlack, 0},
        {"just outside the window", {window.left - 1, window.top + height / 2}, kBackdrop, 0},
        {"focused entry", GradientSamplePoint(entryRect), ExpectedLook(kPressedBottom, entryRect),
         8},
    });

    EXPECT_TRUE(menu.CloseWithEscape());
}

TEST_F(MenuAppStartupTest, CurrentSelectionGivesTheThirdOfFiveEntriesFocusAndThePressedLook) {
    const std::vector<std::wstring> names = NumberedNames(5);
    AddEntries(names);
    SetCurrentSelection(names[2]);
    OwnWindow backdrop(Backdrop());
    MenuSession menu;
    ASSERT_TRUE(menu.WaitForMenu());

    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(names[i], menu.Child(kFirstEntryId + i).text) << "entry " << i;
    }
    EXPECT_EQ(kFirstEntryId + 2, menu.FocusOnceIs(kFirstEntryId + 2));
    EXPECT_EQ(CentredOnScreen(410, 71 * 5 + 9), menu.WindowRect());

    // The pointer is parked away from the menu, so no entry shows the hover
    // look: the focused one is pressed (white to black), the others normal
    // (white to light blue).
    std::vector<PixelExpectation> pixels;
    for (int i = 0; i < 5; ++i) {
        RECT entry = menu.Child(kFirstEntryId + i).rect;
        COLORREF bottom = i == 2 ? kPressedBottom : kNormalBottom;
        pixels.push_back({(i == 2 ? "pressed entry " : "normal entry ") + std::to_string(i),
                          GradientSamplePoint(entry), ExpectedLook(bottom, entry), 8});
    }
    ExpectScreenPixels(pixels);

    // Under the pointer an entry shows the hover look (white to mid blue),
    // and loses it when the pointer leaves; the focused entry stays pressed.
    RECT first = menu.Child(kFirstEntryId).rect;
    RECT focused = menu.Child(kFirstEntryId + 2).rect;
    menu.MovePointer(POINT{(first.left + first.right) / 2, (first.top + first.bottom) / 2});
    ExpectScreenPixels({
        {"entry under the pointer", GradientSamplePoint(first), ExpectedLook(kHoverBottom, first),
         8},
        {"focused entry", GradientSamplePoint(focused), ExpectedLook(kPressedBottom, focused), 8},
    });
    menu.MovePointer(POINT{0, 0});
    ExpectScreenPixels({
        {"entry the pointer left", GradientSamplePoint(first), ExpectedLook(kNormalBottom, first),
         8},
    });

    // Nothing was stored by opening.
    EXPECT_EQ(TextValue(names[2]), CurrentSelection());
    EXPECT_TRUE(menu.CloseWithEscape());
}

TEST_F(MenuAppStartupTest, EmptyCurrentSelectionIsNoFirstRun) {
    AddEntries({L"One", L"Two"});
    SetCurrentSelection(L"");
    MenuSession menu;
    ASSERT_TRUE(menu.WaitForMenu());
    EXPECT_EQ((std::vector<std::wstring>{L"One", L"Two"}),
              RegistrySubKeyNames(HKEY_CURRENT_USER, kMediaKey));
    EXPECT_FALSE(ReadRegistryValue(HKEY_CURRENT_USER, kMediaKey, L"DefaultSelection").exists);
    EXPECT_EQ(TextValue(L""), CurrentSelection());
    EXPECT_EQ(L"One", menu.Child(kFirstEntryId).text);
    EXPECT_EQ(L"Two", menu.Child(kFirstEntryId + 1).text);
    menu.Post(WM_CLOSE);
    EXPECT_TRUE(menu.WaitForExit());
}

// The wiring of the machine's entries (their cases: the menu data tests).
TEST_F(MenuAppStartupTest, FirstRunShowsTheMachinesEntriesFocusedOnItsDefault) {
    const std::wstring machine = L"Software\\WZK\\Veltrane\\Media";
    ScratchKey machineKey{HKEY_LOCAL_MACHINE, machine};
    WriteRegistryText(HKEY_LOCAL_MACHINE, machine + L"\\Maker Player", L"Assignment", L"p");
    WriteRegistryText(HKEY_LOCAL_MACHINE, machine + L"\\Maker Photos", L"Assignment", L"q");
    WriteRegistryText(HKEY_LOCAL_MACHINE, machine, L"DefaultSelection", L"Maker Player");
    MenuSession menu;
    ASSERT_TRUE(menu.WaitForMenu());
    EXPECT_EQ(L"Maker Photos", menu.Child(kFirstEntryId).text);
    EXPECT_EQ(kFirstEntryId + 1, menu.FocusOnceIs(kFirstEntryId + 1));
    menu.Post(WM_CLOSE);
    EXPECT_TRUE(menu.WaitForExit());
}

} // namespace
