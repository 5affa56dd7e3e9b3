#include "media_menu/controls/MenuColours.h"

namespace {

const COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kOutline = RGB(0x5A, 0x5A, 0x5A);
const COLORREF kNormalBlue = RGB(0x3D, 0xB5, 0xFF);
const COLORREF kHoverBlue = RGB(0x30, 0x72, 0xCA);

// The menu's own looks: white fading into the look's colour, white captions
// but for the embossed grey one of a disabled button.
LookColours MenuLook(ButtonLook look) {
    switch (look) {
    case ButtonLook::kPressed:
        return {kWhite, kBlack, kWhite, CLR_INVALID, kOutline};
    case ButtonLook::kHover:
        return {kWhite, kHoverBlue, kWhite, CLR_INVALID, kOutline};
    case ButtonLook::kDisabled:
        return {kWhite, ::GetSysColor(COLOR_GRAYTEXT), ::GetSysColor(COLOR_BTNSHADOW),
                ::GetSysColor(COLOR_BTNHIGHLIGHT), kOutline};
    case ButtonLook::kNormal:
    default:
        return {kWhite, kNormalBlue, kWhite, CLR_INVALID, kOutline};
    }
}

// High contrast: plain fills in the system's button and selection colours,
// no embossing (it would blur the caption), every outline in the text colour
// the user reads the window with.
LookColours HighContrastLook(ButtonLook look) {
    const COLORREF outline = ::GetSysColor(COLOR_WINDOWTEXT);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    switch (look) {
    case ButtonLook::kPressed:
    case ButtonLook::kHover:
        return {highlight, highlight, ::GetSysColor(COLOR_HIGHLIGHTTEXT), CLR_INVALID, outline};
    case ButtonLook::kDisabled:
        return {face, face, ::GetSysColor(COLOR_GRAYTEXT), CLR_INVALID, outline};
    case ButtonLook::kNormal:
    default:
        return {face, face, ::GetSysColor(COLOR_BTNTEXT), CLR_INVALID, outline};
    }
}

} // namespace

bool MenuColours::IsHighContrastOn() {
    HIGHCONTRASTW highContrast = {};
    highContrast.cbSize = sizeof highContrast;
    return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof highContrast, &highContrast, 0) &&
           (highContrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

LookColours MenuColours::Button(ButtonLook look, bool highContrast) {
    return highContrast ? HighContrastLook(look) : MenuLook(look);
}

COLORREF MenuColours::Window(bool highContrast) {
    return highContrast ? ::GetSysColor(COLOR_WINDOW) : kBlack;
}
