// Every colour the menu draws, in one place: the entry and scroll buttons'
// looks and the window behind them. Normally the menu has its own blue
// gradients on black; with high contrast on, it draws in the system's colours
// the user has chosen instead, the shapes staying as they are.
#pragma once

#include <windows.h>

// A button's pictures, one per look. A focused button shows the pressed one.
enum class ButtonLook { kNormal, kPressed, kHover, kDisabled };

// What one picture of a button is drawn in.
struct LookColours {
    // The fill fades from top (first row) to bottom (last row); a plain
    // fill has both alike.
    COLORREF top;
    COLORREF bottom;
    COLORREF caption;
    // A light copy of the caption one pixel below and right of it, which
    // makes the caption look embossed; CLR_INVALID for none.
    COLORREF emboss;
    COLORREF outline;
};

class MenuColours {
public:
    // Whether the user has turned high contrast on.
    static bool IsHighContrastOn();

    // The colours of a look, with high contrast on or off. The system's
    // colours are read on every call, so a caller that keeps pictures must
    // ask again after they change (WM_SYSCOLORCHANGE).
    static LookColours Button(ButtonLook look, bool highContrast);
    // The window's background.
    static COLORREF Window(bool highContrast);
};
