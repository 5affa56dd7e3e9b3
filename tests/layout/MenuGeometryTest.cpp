// The menu's arithmetic without any window: the entries' width, the window's
// size (worked out in the work area's corner; the menu window centres itself
// afterwards), fitting against scrolling, the visible count and the rows of
// markers, scroll buttons and entries, at 96 DPI and scaled.
// LayoutGeometryTest checks that the layout measures the real windows and
// puts them where these say.
#include "media_menu/layout/MenuGeometry.h"

#include "tests/support/GeometryPrinters.h"

#include <gtest/gtest.h>

bool operator==(const WindowPlace& a, const WindowPlace& b) {
    return a.fits == b.fits && a.rect == b.rect;
}

std::ostream& operator<<(std::ostream& out, const WindowPlace& window) {
    return out << (window.fits ? "fitting " : "scrolling ") << window.rect;
}

bool operator==(const MenuRows& a, const MenuRows& b) {
    return a.headerTop == b.headerTop && a.footerTop == b.footerTop && a.upTop == b.upTop &&
           a.entryTop == b.entryTop && a.visible == b.visible && a.downTop == b.downTop;
}

std::ostream& operator<<(std::ostream& out, const MenuRows& rows) {
    return out << "header " << rows.headerTop << ", footer " << rows.footerTop << ", up "
               << rows.upTop << ", entries " << rows.entryTop << " (" << rows.visible << "), down "
               << rows.downTop;
}

bool operator==(const Triangle& a, const Triangle& b) {
    return a.a == b.a && a.b == b.b && a.c == b.c;
}

std::ostream& operator<<(std::ostream& out, const Triangle& t) {
    return out << t.a << ' ' << t.b << ' ' << t.c;
}

namespace {

TEST(MenuGeometryTest, EntriesAreAsWideAsTheirCaptionsWithinTheirLimits) {
    const struct {
        int measured, averageChar, drawn, workWidth, width;
    } rows[] = {
        {0, 8, 0, 1024, 400},       // no entries
        {271, 8, 0, 1024, 400},     // under 280: the substitute width
        {272, 8, 0, 1024, 280},     // 280 is kept
        {272, 8, 280, 1024, 280},   // drawn no wider: unchanged
        {272, 8, 281, 1024, 281},   // drawn wider: widened
        {300, 8, 400, 1024, 400},   //
        {300, 8, 700, 1024, 700},   //
        {300, 8, 1100, 1024, 1014}, // never beyond the work area less the sides
        {1005, 8, 1100, 1024, 1014},
        {1100, 8, 1200, 1024, 1014}, // measured wider than that: within it all the same
        {300, 8, 0, 200, 190},       // a narrow work area narrows even the substitute
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.measured << " + " << row.averageChar << ", drawn "
                                          << row.drawn << ", work " << row.workWidth);
        EXPECT_EQ(row.width,
                  EntryWidth(row.measured, row.averageChar, row.drawn, row.workWidth, 96));
    }
}

TEST(MenuGeometryTest, WindowHangsInTheWorkAreasCornerAndRowsFollowItsLayout) {
    // Half thumbs of 8 each (8 and 6 in the offset work area, whose footer
    // row shows that the footer is set the horizontal half above the bottom),
    // a footer marker 40 x 20, a header marker 30 high.
    const PassInputs plain = {{0, 0, 1024, 738}, 0, 0, 8, 8, 400, {40, 20}};
    PassInputs titled = plain;
    titled.captionHeight = 19;
    titled.borderHeight = 2;
    PassInputs wide = plain;
    wide.entryWidth = 700;
    const PassInputs offset = {{100, 50, 900, 700}, 0, 0, 8, 6, 400, {40, 20}};
    auto in = [](PassInputs pass, int workHeight) {
        pass.work.bottom = pass.work.top + workHeight;
        return pass;
    };
    const struct {
        const char* what;
        PassInputs pass;
        int count;
        WindowPlace window;
        MenuRows rows;
        RECT secondSlot;
    } rows[] = {
        // One case per two lines: left as written, so the values stay aligned.
        // clang-format off
        {"four entries fit: as high as their rows and margins", plain, 4, {true, {606, 437, 1016, 730}},
            {442, 702, 442, 442, 4, 726}, {611, 513, 1011, 583}},
        {"no entries", plain, 0, {true, {606, 721, 1016, 730}},
            {726, 702, 726, 726, 0, 726}, {611, 797, 1011, 867}},
        {"the height less 25 still fits", in(plain, 318), 4, {true, {606, 17, 1016, 310}},
            {22, 282, 22, 22, 4, 306}, {611, 93, 1011, 163}},
        {"one pixel less scrolls", in(plain, 317), 4, {false, {606, 17, 1016, 309}},
            {22, 281, 43, 114, 1, 185}, {611, 185, 1011, 255}},
        {"a title bar and borders: a taller window", titled, 4, {true, {606, 416, 1016, 730}},
            {442, 702, 442, 442, 4, 726}, {611, 513, 1011, 583}},
        {"twelve entries scroll", plain, 12, {false, {606, 17, 1016, 730}},
            {22, 702, 43, 114, 7, 611}, {611, 185, 1011, 255}},
        {"twelve entries scroll under a title bar", titled, 12, {false, {606, 17, 1016, 730}},
            {43, 702, 64, 135, 7, 632}, {611, 206, 1011, 276}},
        {"no room for one entry: none shown", in(plain, 100), 3, {false, {606, 17, 1016, 92}},
            {22, 64, 43, 114, 0, 114}, {611, 185, 1011, 255}},
        {"wider entries widen the window leftwards", wide, 4, {true, {306, 437, 1016, 730}},
            {442, 702, 442, 442, 4, 726}, {311, 513, 1011, 583}},
        {"a work area away from the origin", offset, 2, {true, {482, 543, 892, 694}},
            {548, 666, 548, 548, 2, 690}, {487, 619, 887, 689}},
        // clang-format on
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const WindowPlace window = PlaceMenuWindow(row.pass, row.count);
        EXPECT_EQ(row.window, window);
        const MenuRows placed = PlaceRows(row.pass, window, row.count, 30);
        EXPECT_EQ(row.rows, placed);
        EXPECT_EQ(row.secondSlot, EntrySlot(row.pass, window, placed, 1));
    }
}

TEST(MenuGeometryTest, ControlsAreCentredOnTheClientAreaRoundingDown) {
    EXPECT_EQ(792, CentredLeft(606, 410, 38));
    EXPECT_EQ(791, CentredLeft(606, 409, 39));
}

TEST(MenuGeometryTest, EverySizeScalesWithTheDpi) {
    // The corner of a 1024 x 738 work area, half thumbs of 8, a footer marker
    // 40 x 20, a header marker 30 high; four entries fit, twelve scroll.
    const struct {
        int dpi;
        int width; // entries of a caption 392 wide plus an average character of 8
        WindowPlace fitting, scrolling;
        MenuRows rows; // of the scrolling menu
        RECT secondSlot;
        Triangle up, down;
    } rows[] = {
        // clang-format off
        {96, 400, {true, {606, 437, 1016, 730}}, {false, {606, 17, 1016, 730}},
            {22, 702, 43, 114, 7, 611}, {611, 185, 1011, 255},
            {{0, 56}, {38, 56}, {19, 0}}, {{0, 0}, {38, 0}, {19, 19}}},
        {120, 400, {true, {604, 363, 1016, 730}}, {false, {604, 23, 1016, 730}},
            {29, 702, 50, 139, 5, 584}, {610, 228, 1010, 316},
            {{0, 70}, {48, 70}, {24, 0}}, {{0, 0}, {48, 0}, {24, 24}}},
        {144, 600, {true, {400, 288, 1016, 730}}, {false, {400, 30, 1016, 730}},
            {38, 702, 60, 167, 4, 595}, {408, 274, 1008, 379},
            {{0, 84}, {57, 84}, {28, 0}}, {{0, 0}, {57, 0}, {28, 29}}},
        {192, 800, {true, {196, 144, 1016, 730}}, {false, {196, 42, 1016, 730}},
            {52, 702, 74, 216, 2, 500}, {206, 358, 1006, 498},
            {{0, 112}, {76, 112}, {38, 0}}, {{0, 0}, {76, 0}, {38, 38}}},
        // clang-format on
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.dpi << " DPI");
        PassInputs pass = {{0, 0, 1024, 738}, 0, 0, 8, 8, 0, {40, 20}};
        pass.dpi = row.dpi;
        pass.entryWidth = EntryWidth(392, 8, 0, 1024, row.dpi);
        EXPECT_EQ(row.width, pass.entryWidth);
        EXPECT_EQ(row.fitting, PlaceMenuWindow(pass, 4));
        const WindowPlace window = PlaceMenuWindow(pass, 12);
        EXPECT_EQ(row.scrolling, window);
        const MenuRows placed = PlaceRows(pass, window, 12, 30);
        EXPECT_EQ(row.rows, placed);
        EXPECT_EQ(row.secondSlot, EntrySlot(pass, window, placed, 1));
        EXPECT_EQ(row.up, UpTriangle(row.dpi));
        EXPECT_EQ(row.down, DownTriangle(row.dpi));
    }
}

} // namespace
