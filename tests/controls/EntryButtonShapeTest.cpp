// The button's shape: copied and normalised at creation, handed to the
// window as its window region, replaced by rounded rectangles whose corners
// come from the profile file, and never freed twice.
#include "ControlsTestHost.h"
#include "media_menu/controls/ApplyRoundedWindowShape.h"

#include "common/UniqueHandle.h"
#include "tests/support/GdiObjectCount.h"
#include "tests/support/ProfileFile.h"

#include <memory>
#include <vector>

namespace {

UniqueRegion WindowRegion(HWND window) {
    UniqueRegion region(::CreateRectRgn(0, 0, 0, 0));
    ::GetWindowRgn(window, region.get());
    return region;
}

RECT BoxOf(HRGN region) {
    RECT box = {0, 0, 0, 0};
    if (::GetRgnBox(region, &box) == NULLREGION) {
        box = RECT{0, 0, 0, 0};
    }
    return box;
}

// Whether two regions cover the same pixels. (EqualRgn compares how the
// regions are cut into rectangles, and the window system stores a window
// region with its bands merged.)
bool SameArea(HRGN a, HRGN b) {
    UniqueRegion difference(::CreateRectRgn(0, 0, 0, 0));
    return ::CombineRgn(difference.get(), a, b, RGN_XOR) == NULLREGION;
}

// The window's rectangle in its parent's client coordinates.
RECT PlaceInParent(const CWnd& window) {
    RECT rect;
    window.GetWindowRect(&rect);
    ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

class ShapeTest : public ::testing::Test {
protected:
    ScratchProfileFile m_profile; // none written: every setting has its default
    HostWindow m_host;
};

TEST_F(ShapeTest, ShapeGivenAtAnOffsetIsCopiedAndMovedToTheOrigin) {
    UniqueRegion shape(::CreateRoundRectRgn(50, 30, 151, 101, 12, 12));
    RECT given = BoxOf(shape.get());
    ProbeButton button;
    ASSERT_TRUE(
        button.CreateShaped(L"Shape", WS_CHILD | WS_VISIBLE, 7, 9, shape.get(), &m_host, 300));

    const int width = given.right - given.left;
    const int height = given.bottom - given.top;
    EXPECT_EQ((RECT{7, 9, 7 + width, 9 + height}), PlaceInParent(button));
    UniqueRegion expected(::CreateRoundRectRgn(0, 0, 101, 71, 12, 12));
    UniqueRegion actual = WindowRegion(button);
    EXPECT_TRUE(SameArea(expected.get(), actual.get())) << "the window region is the shape";
    EXPECT_EQ(width / 2, button.m_nCenterX);
    EXPECT_EQ(height / 2, button.m_nCenterY);

    // The caller's region is its own: still there and where it was.
    ASSERT_EQ(static_cast<DWORD>(OBJ_REGION), ::GetObjectType(shape.get()));
    EXPECT_EQ(given, BoxOf(shape.get()));
    // The window has taken the button's copy.
    EXPECT_FALSE(button.m_hShape);
}

TEST_F(ShapeTest, WindowTakesTheShapesSizeAtThePointAndHalfItAsCentreRoundedDown) {
    const struct {
        RECT shape;
        POINT at;
        RECT place; // in the parent
        POINT centre;
    } rows[] = {
        {{-20, 40, 81, 109}, {3, 4}, {3, 4, 104, 73}, {50, 34}}, // 101 x 69
        {{0, 0, 0, 0}, {12, 34}, {12, 34, 12, 34}, {0, 0}},      // empty
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.place);
        UniqueRegion shape(::CreateRectRgnIndirect(&row.shape));
        ProbeButton button;
        ASSERT_TRUE(
            button.CreateShaped(L"", WS_CHILD, row.at.x, row.at.y, shape.get(), &m_host, 301));
        EXPECT_EQ(row.place, PlaceInParent(button));
        EXPECT_EQ(row.centre, (POINT{button.m_nCenterX, button.m_nCenterY}));
    }
}

TEST_F(ShapeTest, StyleWithoutOwnerDrawStillGivesAnOwnerDrawnTabStop) {
    UniqueRegion shape(::CreateRectRgn(0, 0, 40, 20));
    ProbeButton button;
    ASSERT_TRUE(button.Create(L"Plain", WS_CHILD | WS_VISIBLE, 0, 0, shape.get(), &m_host, 303, 2,
                              kLightBlue.value, kBlack.value, kMidBlue.value, RGB(1, 2, 3)));
    EXPECT_EQ(static_cast<DWORD>(BS_OWNERDRAW), button.GetStyle() & BS_TYPEMASK);
    EXPECT_EQ(static_cast<DWORD>(WS_TABSTOP), button.GetStyle() & WS_TABSTOP);
}

TEST_F(ShapeTest, RoundedShapeFillsTheClientAreaWithTheCornersTheProfileGivesAtEveryCall) {
    ProbeButton button;
    ASSERT_TRUE(CreateRoundButton(button, m_host, L"Entry", 0, 0, 0, 0, 25));
    button.MoveWindow(5, 5, 120, 50);
    const struct {
        const char* profile;
        int width, height; // of the corner ellipse
    } rows[] = {
        {"", 4, 4}, // the defaults
        {"Button Elliptical Width=30\r\nButton Elliptical Height=16\r\n", 30, 16},
        {"Button Elliptical Width=8\r\nButton Elliptical Height=40\r\n", 8, 40},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.profile);
        m_profile.WriteEmptySection(row.profile);
        button.m_bNeedsRender = FALSE;
        button.ApplyRoundedShape();
        UniqueRegion expected(::CreateRoundRectRgn(0, 0, 120, 50, row.width, row.height));
        UniqueRegion actual = WindowRegion(button);
        EXPECT_TRUE(SameArea(expected.get(), actual.get()));
        const RECT box = BoxOf(actual.get());
        EXPECT_EQ((POINT{(box.right - box.left) / 2, (box.bottom - box.top) / 2}),
                  (POINT{button.m_nCenterX, button.m_nCenterY}));
        EXPECT_TRUE(button.m_bNeedsRender) << "a new shape makes the pictures stale";
        EXPECT_FALSE(button.m_hShape) << "the window took the new shape";
    }
}

TEST_F(ShapeTest, RoundedShapeOfAZeroSizedButtonIsEmptyWithCentreZero) {
    ProbeButton button;
    UniqueRegion empty(::CreateRectRgn(0, 0, 0, 0));
    ASSERT_TRUE(
        button.CreateShaped(L"Entry", WS_CHILD | WS_VISIBLE, 0, 0, empty.get(), &m_host, 304));
    button.m_nCenterX = 17;
    button.m_nCenterY = 17;
    button.ApplyRoundedShape();
    UniqueRegion actual = WindowRegion(button);
    RECT box;
    EXPECT_EQ(NULLREGION, ::GetRgnBox(actual.get(), &box));
    EXPECT_EQ(0, button.m_nCenterX);
    EXPECT_EQ(0, button.m_nCenterY);
}

TEST_F(ShapeTest, WindowShapeUsesTheCallersDefaultsUnlessTheFileSetsCorners) {
    RECT client;
    m_host.GetClientRect(&client);

    ApplyRoundedWindowShape(&m_host, 9, 7, 96);
    UniqueRegion byDefault(
        ::CreateRoundRectRgn(client.left, client.top, client.right, client.bottom, 9, 7));
    UniqueRegion actual = WindowRegion(m_host);
    EXPECT_TRUE(SameArea(byDefault.get(), actual.get()));

    m_profile.WriteEmptySection("Window Elliptical Width=40\r\nWindow Elliptical Height=12\r\n");
    ApplyRoundedWindowShape(&m_host, 25, 25, 96);
    UniqueRegion fromFile(
        ::CreateRoundRectRgn(client.left, client.top, client.right, client.bottom, 40, 12));
    actual = WindowRegion(m_host);
    EXPECT_TRUE(SameArea(fromFile.get(), actual.get()));
}

// A region handed to a window belongs to the window system; had a button
// freed it as well, the handle (reused by then) would take an unrelated
// object with it. Canaries made between the steps must all survive, and
// nothing may be left over.
TEST_F(ShapeTest, ManyButtonsCreatedReshapedAndDestroyedFreeEveryRegionOnce) {
    struct Canary {
        UniqueRegion region;
        RECT box;
    };
    // Warm up once, so lazily made objects (fonts, caches) are not counted.
    {
        ProbeButton warmUp;
        ASSERT_TRUE(CreateRoundButton(warmUp, m_host, L"Warm", 0, 0, 0, 0, 25));
        warmUp.MoveWindow(0, 0, 100, 40);
        warmUp.ApplyRoundedShape();
        warmUp.UpdateWindow();
    }
    PumpMessages();
    const int before = LiveGdiObjectCount();
    std::vector<Canary> canaries;
    for (int i = 0; i < 60; ++i) {
        auto button = std::make_unique<ProbeButton>();
        ASSERT_TRUE(CreateRoundButton(*button, m_host, L"Entry", 0, 0, 0, 0, 25, 232 + i));
        canaries.push_back(
            {UniqueRegion(::CreateRectRgn(i, i, i + 3, i + 5)), {i, i, i + 3, i + 5}});
        for (int reshape = 0; reshape < 3; ++reshape) {
            button->MoveWindow(5, 5, 100 + reshape, 40 + i % 7);
            button->ApplyRoundedShape();
            canaries.push_back(
                {UniqueRegion(::CreateRectRgn(-i, 0, 7, 9 + reshape)), {-i, 0, 7, 9 + reshape}});
        }
        button->UpdateWindow();
        if (i % 2 == 0) {
            button->DestroyWindow();
        }
        button.reset();
        canaries.push_back(
            {UniqueRegion(::CreateRectRgn(0, i, 11, 2 * i + 1)), {0, i, 11, 2 * i + 1}});
    }
    for (const Canary& canary : canaries) {
        ASSERT_EQ(static_cast<DWORD>(OBJ_REGION), ::GetObjectType(canary.region.get()));
        EXPECT_EQ(canary.box, BoxOf(canary.region.get()));
    }
    canaries.clear();
    PumpMessages();
    EXPECT_EQ(before, LiveGdiObjectCount());
}

TEST_F(ShapeTest, ShapeOfAWindowNeverCreatedIsFreedByTheButton) {
    UniqueRegion shape(::CreateRectRgn(0, 0, 30, 30));
    const int before = LiveGdiObjectCount();
    {
        ProbeButton button;
        // A child window needs a parent: creation fails before WM_CREATE.
        EXPECT_FALSE(button.CreateShaped(L"Orphan", WS_CHILD, 0, 0, shape.get(), nullptr, 305));
        EXPECT_TRUE(button.m_hShape) << "the button still holds its copy";
        EXPECT_EQ(before + 1, LiveGdiObjectCount());
        // A second creation frees the copy of the first.
        EXPECT_FALSE(button.CreateShaped(L"Orphan", WS_CHILD, 0, 0, shape.get(), nullptr, 305));
        EXPECT_EQ(before + 1, LiveGdiObjectCount());
    }
    EXPECT_EQ(before, LiveGdiObjectCount());
}

} // namespace
