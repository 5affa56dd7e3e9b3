// High contrast, which Wine cannot turn on (SPI_SETHIGHCONTRAST fails): the
// buttons are told, and the system colours are this test's own.
#include "ControlsTestHost.h"

#include "media_menu/controls/MenuColours.h"
#include "tests/support/ScopeExit.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace {

const Colour kWindow = RGB(1, 1, 1);
const Colour kWindowText = RGB(2, 2, 2);
const Colour kFace = RGB(3, 3, 3);
const Colour kFaceText = RGB(4, 4, 4);
const Colour kHighlight = RGB(5, 5, 5);
const Colour kHighlightText = RGB(6, 6, 6);
const Colour kGrey = RGB(7, 7, 7);
const Colour kNone = CLR_INVALID; // not drawn at all

enum Kind { kEntry, kScrollTriangle, kWindowBackground };

TEST(HighContrastTest, EveryLookIsDrawnInTheSystemsColours) {
    const int indexes[] = {COLOR_WINDOW,    COLOR_WINDOWTEXT,    COLOR_BTNFACE, COLOR_BTNTEXT,
                           COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT, COLOR_GRAYTEXT};
    const COLORREF ours[] = {kWindow.value,    kWindowText.value,    kFace.value, kFaceText.value,
                             kHighlight.value, kHighlightText.value, kGrey.value};
    COLORREF previous[std::size(indexes)] = {};
    std::transform(std::begin(indexes), std::end(indexes), previous, ::GetSysColor);
    // Set for the whole session: the holder puts the previous ones back.
    ScopeExit restore([&] { ::SetSysColors(std::size(indexes), indexes, previous); });
    ASSERT_TRUE(::SetSysColors(std::size(indexes), indexes, ours));
    HostWindow host;
    const struct {
        const char* look;
        Kind kind;
        UINT state;
        BOOL hover;
        std::array<Colour, 3> drawn; // fill, caption, outline
    } rows[] = {
        {"normal", kEntry, 0, FALSE, {kFace, kFaceText, kWindowText}},
        {"focused", kEntry, ODS_FOCUS, FALSE, {kHighlight, kHighlightText, kWindowText}},
        {"hovered", kEntry, 0, TRUE, {kHighlight, kHighlightText, kWindowText}},
        {"pressed", kEntry, ODS_SELECTED, FALSE, {kHighlight, kHighlightText, kWindowText}},
        {"disabled", kEntry, ODS_DISABLED, FALSE, {kFace, kGrey, kWindowText}},
        {"scroll triangle", kScrollTriangle, 0, FALSE, {kFaceText, kFaceText, kWindowText}},
        {"focused triangle",
         kScrollTriangle,
         ODS_FOCUS,
         FALSE,
         {kHighlightText, kHighlightText, kWindowText}},
        {"window", kWindowBackground, 0, FALSE, {kWindow, kNone, kNone}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.look);
        std::array<Colour, 3> drawn = {MenuColours::Window(true), kNone, kNone};
        if (row.kind != kWindowBackground) {
            ProbeButton button;
            // A full block: the caption's middle is solid caption colour.
            ASSERT_TRUE(CreateRoundButton(button, host, L"\x2588", 10, 10, 200, 70, 30));
            button.SetCaptionDrawn(row.kind == kEntry);
            button.SetHighContrast(true);
            button.m_bHover = row.hover;
            DibSurface surface(200, 70);
            DrawInto(button, surface, row.state);
            drawn = {surface.Pixel(20, 35), surface.Pixel(button.m_nCenterX, button.m_nCenterY),
                     surface.Pixel(0, 35)};
        }
        EXPECT_EQ(row.drawn, drawn);
    }
}

} // namespace
