// Painting, read back pixel by pixel: the four cached pictures (gradient,
// caption, outline), the picture chosen for each item state, the copy that
// stays inside the shape, when the pictures are rendered again, the caption
// face rule, and that nothing is leaked on the way.
#include "ControlsTestHost.h"

#include "tests/support/GdiObjectCount.h"
#include "tests/support/ProfileFile.h"
#include "tests/support/ScopeExit.h"
#include "tests/support/TestPaths.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

const UINT kId = 232;
const int kWidth = 200;
const int kHeight = 70;
const COLORREF kNavy = RGB(0x00, 0x00, 0x80);

// The four looks, in the order the pictures are kept.
enum Look { kNormal, kPressed, kHover, kDisabled };
const char* const kLookNames[] = {"normal", "pressed", "hover", "disabled"};

// The bounding box (right and bottom exclusive) of the pixels in which two
// pictures of the same size differ; empty when they do not.
RECT DifferenceBox(const Picture& a, const Picture& b) {
    RECT box = {a.width, a.height, 0, 0};
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            if (a.At(x, y) != b.At(x, y)) {
                box.left = x < box.left ? x : box.left;
                box.top = y < box.top ? y : box.top;
                box.right = x + 1 > box.right ? x + 1 : box.right;
                box.bottom = y + 1 > box.bottom ? y + 1 : box.bottom;
            }
        }
    }
    if (box.right == 0) {
        box = RECT{0, 0, 0, 0};
    }
    return box;
}

class PaintTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(
            CreateRoundButton(m_button, m_host, L"HHHH", 10, 10, kWidth, kHeight, 30, kId, kNavy));
        m_button.GetClientRect(&m_client);
        ASSERT_GT(m_client.right, 150);
        ASSERT_GT(m_client.bottom, 60);
    }

    // Renders (when stale) and returns the four pictures of button.
    std::vector<Picture> Pictures(ProbeButton& button) {
        RECT client;
        button.GetClientRect(&client);
        DibSurface surface(client.right, client.bottom);
        DrawInto(button, surface, 0);
        return {ReadPicture(*button.m_pImageNormal), ReadPicture(*button.m_pImagePressed),
                ReadPicture(*button.m_pImageHover), ReadPicture(*button.m_pImageDisabled)};
    }

    int W() const { return m_client.right; }
    int H() const { return m_client.bottom; }

    ScratchProfileFile m_profile;
    HostWindow m_host;
    ProbeButton m_button;
    RECT m_client = {};
};

TEST_F(PaintTest, EachPictureFadesFromWhiteAtTheTopToItsColourAtTheBottom) {
    const Colour bottoms[] = {kLightBlue, kBlack, kMidBlue, kNavy};
    std::vector<Picture> pictures = Pictures(m_button);
    for (int look = kNormal; look <= kDisabled; ++look) {
        SCOPED_TRACE(kLookNames[look]);
        const Picture& picture = pictures[look];
        ASSERT_EQ(W(), picture.width);
        ASSERT_EQ(H(), picture.height);
        // The corners lie outside the shape: there is nothing but gradient.
        EXPECT_EQ(kWhite, picture.At(0, 0));
        EXPECT_EQ(kWhite, picture.At(W() - 1, 0));
        // The last row is one step of the gradient short of its end.
        const int step = 255 / H() + 1;
        EXPECT_LE(ChannelDistance(bottoms[look], picture.At(0, H() - 1)), step)
            << picture.At(0, H() - 1);
        EXPECT_LE(ChannelDistance(bottoms[look], picture.At(W() - 1, H() - 1)), step);
        // In between, every row blends linearly (clear of outline and caption).
        for (int y = 3; y < H() - 3; ++y) {
            COLORREF expected = RGB(255 + (GetRValue(bottoms[look].value) - 255) * y / H(),
                                    255 + (GetGValue(bottoms[look].value) - 255) * y / H(),
                                    255 + (GetBValue(bottoms[look].value) - 255) * y / H());
            ASSERT_LE(ChannelDistance(expected, picture.At(40, y)), 2)
                << "row " << y << ": " << picture.At(40, y);
        }
    }
}

// The outline along the edges of the shape, in each picture; the caption
// sits in the middle rows, clear of the places looked at.
void ExpectOutline(const std::vector<Picture>& pictures, int width) {
    for (int look = kNormal; look <= kDisabled; ++look) {
        SCOPED_TRACE(kLookNames[look]);
        const Picture& p = pictures[look];
        const int midX = p.width / 2;
        const int midY = p.height / 2;
        for (int d = 0; d < width; ++d) {
            EXPECT_EQ(kOutlineGrey, p.At(d, midY)) << "left, " << d;
            EXPECT_EQ(kOutlineGrey, p.At(p.width - 1 - d, midY)) << "right";
            EXPECT_EQ(kOutlineGrey, p.At(midX, d)) << "top, " << d;
            EXPECT_EQ(kOutlineGrey, p.At(midX, p.height - 1 - d)) << "bottom";
        }
        EXPECT_NE(kOutlineGrey, p.At(width, midY)) << "left";
        EXPECT_NE(kOutlineGrey, p.At(p.width - 1 - width, midY)) << "right";
        EXPECT_NE(kOutlineGrey, p.At(midX, width)) << "top";
        EXPECT_NE(kOutlineGrey, p.At(midX, p.height - 1 - width)) << "bottom";
    }
}

TEST_F(PaintTest, OutlineIsTwoPixelsWideAtDepthTwoAndOnePixelAtAnyOther) {
    const struct { int depth, outline; } rows[] = {{2, 2}, {1, 1}, {3, 1}};
    for (const auto& row : rows) {
        SCOPED_TRACE("depth " + std::to_string(row.depth));
        ProbeButton button;
        ASSERT_TRUE(CreateRoundButton(button, m_host, L"HHHH", 10, 90, kWidth, kHeight, 30, kId + 1,
                                      kNavy, row.depth));
        ExpectOutline(Pictures(button), row.outline);
    }
}

TEST_F(PaintTest, NothingIsPaintedOutsideTheShape) {
    UniqueRegion shape(::CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(ERROR, ::GetWindowRgn(m_button, shape.get()));
    for (UINT state : {0u, static_cast<UINT>(ODS_SELECTED), static_cast<UINT>(ODS_DISABLED)}) {
        DibSurface surface(W(), H());
        surface.Fill(kHostBackground);
        DrawInto(m_button, surface, state);
        int outside = 0;
        for (int y = 0; y < H(); ++y) {
            for (int x = 0; x < W(); ++x) {
                bool inside = ::PtInRegion(shape.get(), x, y) != FALSE;
                outside += inside ? 0 : 1;
                ASSERT_EQ(!inside, surface.Pixel(x, y) == kHostBackground)
                    << "state " << state << " at (" << x << ", " << y << ")";
            }
        }
        EXPECT_GT(outside, 4 * 20) << "the corners are cut off";
    }
}

// On the screen: the parent shows through the cut corners, and every paint
// copies the picture of the present state.
TEST_F(PaintTest, ScreenShowsTheParentThroughTheCornersAndThePictureOfTheState) {
    std::vector<Picture> pictures = Pictures(m_button);
    auto screenPixel = [this](int x, int y) {
        WindowDc dc(m_host);
        return Colour(::GetPixel(dc.get(), 10 + x, 10 + y));
    };
    const int x = 20;
    const int y = H() - 6;
    ::RedrawWindow(m_host, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(kHostBackground, screenPixel(0, 0));
    EXPECT_EQ(kHostBackground, screenPixel(W() - 1, H() - 1));
    EXPECT_EQ(pictures[kNormal].At(x, y), screenPixel(x, y));

    m_button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(100, 35));
    EXPECT_EQ(pictures[kHover].At(x, y), screenPixel(x, y));
    m_button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(500, 35));
    EXPECT_EQ(pictures[kNormal].At(x, y), screenPixel(x, y));

    m_button.SetFocus();
    ASSERT_EQ(m_button.m_hWnd, ::GetFocus());
    m_button.RedrawWindow();
    EXPECT_EQ(pictures[kPressed].At(x, y), screenPixel(x, y));

    m_button.EnableWindow(FALSE);
    m_button.RedrawWindow();
    EXPECT_EQ(pictures[kDisabled].At(x, y), screenPixel(x, y));
}

TEST_F(PaintTest, PictureIsChosenByDisabledThenSelectedThenHoverThenFocus) {
    std::vector<Picture> pictures = Pictures(m_button);
    const int x = 20;
    const int y = H() - 6;
    // By combination: bit 0 disabled, 1 selected, 2 hover, 3 focus.
    const Look expected[16] = {kNormal,  kDisabled, kPressed, kDisabled, kHover,   kDisabled,
                               kPressed, kDisabled, kPressed, kDisabled, kPressed, kDisabled,
                               kHover,   kDisabled, kPressed, kDisabled};
    ScopeExit noHover([this] { m_button.m_bHover = FALSE; });
    for (int combination = 0; combination < 16; ++combination) {
        SCOPED_TRACE(combination);
        const UINT state = ((combination & 1) ? ODS_DISABLED : 0) |
                           ((combination & 2) ? ODS_SELECTED : 0) |
                           ((combination & 8) ? ODS_FOCUS : 0);
        m_button.m_bHover = (combination & 4) ? TRUE : FALSE;
        DibSurface surface(W(), H());
        DrawInto(m_button, surface, state);
        EXPECT_EQ(pictures[expected[combination]].At(x, y), surface.Pixel(x, y))
            << "expected the " << kLookNames[expected[combination]] << " picture";
    }
}

// Against a button of the same shape without a caption, the pixels that
// differ are the caption's.
class CaptionTest : public PaintTest {
protected:
    void SetUp() override {
        PaintTest::SetUp();
        ASSERT_TRUE(
            CreateRoundButton(m_blank, m_host, L"", 10, 90, kWidth, kHeight, 30, kId + 1, kNavy));
        m_captioned = Pictures(m_button);
        m_empty = Pictures(m_blank);
        for (int look = kNormal; look <= kDisabled; ++look) {
            m_ink[look] = DifferenceBox(m_captioned[look], m_empty[look]);
        }
    }

    ProbeButton m_blank;
    std::vector<Picture> m_captioned;
    std::vector<Picture> m_empty;
    RECT m_ink[4] = {};
};

TEST_F(CaptionTest, CaptionWiderThanTheButtonIsShortenedToFitInside) {
    m_button.SetWindowText(std::wstring(40, L'W').c_str());
    m_button.m_bNeedsRender = TRUE; // the same shape as the empty button's
    const RECT ink = DifferenceBox(Pictures(m_button)[kNormal], m_empty[kNormal]);
    EXPECT_GT(ink.left, 3) << ink;
    EXPECT_LT(ink.right, W() - 3) << ink;
}

TEST_F(CaptionTest, CaptionIsCentredAndTwiceTheParentsHeight) {
    const RECT& ink = m_ink[kNormal];
    ASSERT_FALSE(::IsRectEmpty(&ink)) << "the caption is drawn";
    EXPECT_LE(std::abs((ink.left + ink.right) / 2 - m_button.m_nCenterX), 1) << ink;

    // Capitals of a cell that ends tmHeight / 2 below the centre: their ink
    // sits around the centre, raised a little by the descent.
    EXPECT_LE(std::abs((ink.top + ink.bottom) / 2 - m_button.m_nCenterY), 3) << ink;

    // The same capitals in the parent's own font are half as tall.
    DibSurface reference(kWidth, kHeight);
    reference.Fill(RGB(0, 0, 0));
    LOGFONTW font = {};
    ::GetObjectW(m_host.GetFont(), sizeof font, &font);
    UniqueFont parentFont(::CreateFontIndirectW(&font));
    {
        ScopedSelection selection(reference.Dc(), parentFont.get());
        ::SetTextColor(reference.Dc(), RGB(255, 255, 255));
        ::SetBkMode(reference.Dc(), TRANSPARENT);
        ::TextOutW(reference.Dc(), 10, 10, L"HHHH", 4);
    }
    int top = kHeight;
    int bottom = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            if (reference.Pixel(x, y) != RGB(0, 0, 0)) {
                top = y < top ? y : top;
                bottom = y + 1;
            }
        }
    }
    ASSERT_GT(bottom, top);
    const double ratio = static_cast<double>(ink.bottom - ink.top) / (bottom - top);
    EXPECT_GT(ratio, 1.6) << ink;
    EXPECT_LT(ratio, 2.4) << ink;
}

TEST_F(CaptionTest, PressedCaptionIsDisplacedByTheDepthTheOthersAreNot) {
    RECT moved = m_ink[kNormal];
    ::OffsetRect(&moved, 2, 2);
    EXPECT_EQ(moved, m_ink[kPressed]);
    EXPECT_EQ(m_ink[kNormal], m_ink[kHover]);
}

TEST_F(CaptionTest, DisabledCaptionIsEmbossedHighlightBelowRightOfTheShadow) {
    const RECT& normal = m_ink[kNormal];
    RECT expected = {normal.left, normal.top, normal.right + 1, normal.bottom + 1};
    EXPECT_EQ(expected, m_ink[kDisabled]);
    // The caption's upper-left pixels are shadow grey, those one further
    // right and down include the highlight.
    const Picture& disabled = m_captioned[kDisabled];
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    const COLORREF highlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    int nearShadow = 0;
    int nearHighlight = 0;
    for (int y = normal.top; y < normal.bottom + 1; ++y) {
        for (int x = normal.left; x < normal.right + 1; ++x) {
            nearShadow += ChannelDistance(shadow, disabled.At(x, y)) <= 8 ? 1 : 0;
            nearHighlight += ChannelDistance(highlight, disabled.At(x, y)) <= 8 ? 1 : 0;
        }
    }
    EXPECT_GT(nearShadow, 20);
    EXPECT_GT(nearHighlight, 10);
    // The light captions are white.
    int white = 0;
    for (int y = normal.top; y < normal.bottom; ++y) {
        for (int x = normal.left; x < normal.right; ++x) {
            white += m_captioned[kNormal].At(x, y) == RGB(255, 255, 255) ? 1 : 0;
        }
    }
    EXPECT_GT(white, 20);
}

TEST_F(CaptionTest, ButtonThatDrawsNoCaptionPaintsAsIfItHadNone) {
    m_button.SetCaptionDrawn(false); // its text is only its name for screen readers
    m_button.m_bNeedsRender = TRUE;
    const std::vector<Picture> pictures = Pictures(m_button);
    for (int look = kNormal; look <= kDisabled; ++look) {
        EXPECT_EQ((RECT{0, 0, 0, 0}), DifferenceBox(pictures[look], m_empty[look])) << look;
    }
}

TEST_F(CaptionTest, EmptyCaptionLeavesGradientAndOutlineOnly) {
    const Picture& blank = m_empty[kNormal];
    const int y = m_blank.m_nCenterY;
    for (int x = 3; x < blank.width - 3; ++x) {
        ASSERT_EQ(blank.At(3, y), blank.At(x, y)) << "column " << x;
    }
}

TEST_F(PaintTest, PlainRepaintReusesThePicturesApplyRoundedShapeRendersThemAgain) {
    m_button.RedrawWindow();
    ASSERT_FALSE(m_button.m_bNeedsRender);
    HGDIOBJ first = m_button.m_pImageNormal->GetSafeHandle();
    Picture before = ReadPicture(*m_button.m_pImageNormal);

    m_button.SetWindowText(L"Changed");
    m_button.RedrawWindow();
    m_button.RedrawWindow();
    EXPECT_EQ(first, m_button.m_pImageNormal->GetSafeHandle());
    Picture repainted = ReadPicture(*m_button.m_pImageNormal);
    EXPECT_EQ((RECT{0, 0, 0, 0}), DifferenceBox(before, repainted))
        << "the old caption stays until the pictures are stale";

    m_button.ApplyRoundedShape();
    EXPECT_TRUE(m_button.m_bNeedsRender);
    m_button.UpdateWindow();
    EXPECT_FALSE(m_button.m_bNeedsRender);
    Picture rendered = ReadPicture(*m_button.m_pImageNormal);
    RECT changed = DifferenceBox(before, rendered);
    EXPECT_FALSE(::IsRectEmpty(&changed)) << "the new caption and shape are rendered";
}

TEST_F(PaintTest, FailedRenderingIsTriedAgainAtTheNextPaint) {
    // Pictures this large cannot be made in a 32-bit process.
    m_button.SetWindowPos(nullptr, 0, 0, 30000, 30000, SWP_NOMOVE | SWP_NOZORDER);
    m_button.RedrawWindow();
    ASSERT_EQ(nullptr, m_button.m_pImageNormal->GetSafeHandle());
    EXPECT_TRUE(m_button.m_bNeedsRender);
    m_button.SetWindowPos(nullptr, 0, 0, W(), H(), SWP_NOMOVE | SWP_NOZORDER);
    m_button.RedrawWindow();
    EXPECT_FALSE(m_button.m_bNeedsRender);
    EXPECT_NE(nullptr, m_button.m_pImageNormal->GetSafeHandle());
}

TEST_F(PaintTest, RenderingAndPaintingLeakNoGdiObject) {
    // The first rendering makes the four pictures that stay.
    m_button.ApplyRoundedShape();
    m_button.UpdateWindow();
    DibSurface surface(W(), H());
    DrawInto(m_button, surface, 0);
    PumpMessages();
    const int before = LiveGdiObjectCount();
    for (int i = 0; i < 40; ++i) {
        m_button.ApplyRoundedShape();
        m_button.UpdateWindow();
        m_button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(100, 35));
        m_button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(500, 35));
        DrawInto(m_button, surface, ODS_SELECTED);
        DrawInto(m_button, surface, ODS_DISABLED | ODS_FOCUS);
    }
    PumpMessages();
    EXPECT_EQ(before, LiveGdiObjectCount());
}

// --- Caption face --------------------------------------------------------------

LOGFONTW Face(const wchar_t* name) {
    LOGFONTW font = {};
    ::lstrcpynW(font.lfFaceName, name, LF_FACESIZE);
    return font;
}

int Offer(const wchar_t* name) {
    LOGFONTW font = Face(name);
    TEXTMETRICW metrics = {};
    return EnumCaptionFaceProc(&font, &metrics, TRUETYPE_FONTTYPE, 0);
}

class CaptionFaceTest : public ::testing::Test {
protected:
    void SetUp() override { g_szCaptionFace[0] = L'\0'; }
    void TearDown() override { g_szCaptionFace[0] = L'\0'; }
};

TEST_F(CaptionFaceTest, AcceptsFamiliesContainingArialInThatCase) {
    struct Case {
        const wchar_t* name;
        bool accepted;
    } cases[] = {
        {L"Arial", true},
        {L"Arial Unicode MS", true},
        {L"@Arial Unicode MS", false},
        {L"@Arial", false},
        {L"Arial Narrow", true},
        {L"MS Arial", true},
        {L"Arial Black", false},
        {L"ARIAL BLACK", false},
        {L"arial", false},
        {L"ARIAL", false},
        {L"System", false},
        {L"SYSTEM", false},
        {L"Liberation Sans", false},
        {L"Courier New", false},
        {L"", false},
    };
    for (const Case& c : cases) {
        g_szCaptionFace[0] = L'\0';
        EXPECT_EQ(1, Offer(c.name)) << Utf8(c.name);
        EXPECT_EQ(c.accepted ? std::wstring(c.name) : std::wstring(), g_szCaptionFace)
            << Utf8(c.name);
    }
}

TEST_F(CaptionFaceTest, LastAcceptedFamilyWinsAndRejectedOnesChangeNothing) {
    Offer(L"Arial");
    Offer(L"Courier New");
    Offer(L"Arial Unicode MS");
    Offer(L"Arial Black");
    Offer(L"System");
    Offer(L"arial");
    EXPECT_EQ(std::wstring(L"Arial Unicode MS"), g_szCaptionFace);
    Offer(L"@Arial Unicode MS");
    EXPECT_EQ(std::wstring(L"Arial Unicode MS"), g_szCaptionFace);
}

TEST_F(CaptionFaceTest, FaceNameWithoutTerminatorIsReadWithinItsBuffer) {
    LOGFONTW font = {};
    for (int i = 0; i < LF_FACESIZE; ++i) {
        font.lfFaceName[i] = L"Arial"[i % 5];
    }
    struct {
        LOGFONTW font;
        wchar_t after[8];
    } guarded = {font, {L'X', L'X', L'X', L'X', L'X', L'X', L'X', L'\0'}};
    TEXTMETRICW metrics = {};
    EXPECT_EQ(1, EnumCaptionFaceProc(&guarded.font, &metrics, TRUETYPE_FONTTYPE, 0));
    EXPECT_EQ(static_cast<size_t>(LF_FACESIZE - 1), std::wstring(g_szCaptionFace).size());
    EXPECT_EQ(std::wstring::npos, std::wstring(g_szCaptionFace).find(L'X'));
}

TEST_F(CaptionFaceTest, InstalledFamiliesGiveOneOfTheArialReplacements) {
    HDC screen = ::GetDC(nullptr);
    ::EnumFontFamiliesW(screen, nullptr, EnumCaptionFaceProc, 0);
    ::ReleaseDC(nullptr, screen);
    std::wstring face = g_szCaptionFace;
    EXPECT_TRUE(face == L"Arial" || face == L"Arial Unicode MS" || face == L"@Arial Unicode MS")
        << Utf8(face);
}

} // namespace
