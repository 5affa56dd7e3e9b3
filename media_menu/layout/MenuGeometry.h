// The menu's arithmetic, apart from any window: how wide the entries are,
// how large the menu window is, whether every entry fits or the list
// scrolls, how many entries a scrolling menu shows, and where the rows, the
// scroll buttons and the markers go. ScrollingEntryLayout measures the
// windows and moves them; these functions only compute from what it
// measured, so each rule can be checked without a window.
//
// All positions are in pixels, in screen coordinates. The menu's own sizes
// (entry height, gaps, margins, the triangles) are designed at 96 DPI and
// scaled to the DPI of the pass; what is measured comes at that DPI already.
#pragma once

#include "framework/Dpi.h"

#include <windows.h>

// What one layout pass works from: measured once, then read by every step
// of the pass.
struct PassInputs {
    RECT work;         // work area of the primary display
    int captionHeight; // of the menu window, 0 without a title bar
    int borderHeight;  // both borders together, 0 without
    int hMargin;       // half the thumb sizes: the inset from the work
    int vMargin;       //   area's right and bottom edges
    int entryWidth;
    SIZE marker;          // window size of the footer marker
    int dpi = kDesignDpi; // of the menu window
};

// The menu window's rectangle, and whether every entry fits in it (the
// fitting layout) or the entries scroll (the scrolling layout).
struct WindowPlace {
    bool fits;
    RECT rect;
};

// The tops of the rows inside the menu window, and how many entries, from
// the first, are shown.
struct MenuRows {
    int headerTop; // header marker
    int footerTop; // footer marker
    int upTop;     // up scroll button
    int entryTop;  // the first visible entry; the others follow one pitch apart
    int visible;
    int downTop; // down scroll button
};

// The entries' width: the widest caption as measured plus one average
// character, 400 when that is under 280 (both at 96 DPI), widened to the
// widest caption as drawn (widestDrawn, its own average character included),
// and never beyond the work area less the window's sides.
int EntryWidth(int widestMeasured, int averageCharWidth, int widestDrawn, int workWidth, int dpi);

// The window's size and whether the entries fit: as high as its entries
// need when that leaves 25 pixels (at 96 DPI) of the work area's height,
// otherwise that high. The rectangle is placed in the work area's
// bottom-right corner, inset by half a scroll thumb on the right and at the
// bottom; the rows are laid out in that place, but the menu window then
// centres itself on the screen, which moves the buttons with it. So the
// corner fixes the size only.
WindowPlace PlaceMenuWindow(const PassInputs& pass, int entryCount);

// headerHeight: the header marker's height, read only by the scrolling
// layout (once the window has moved).
MenuRows PlaceRows(const PassInputs& pass, const WindowPlace& window, int entryCount,
                   int headerHeight);

// The screen rectangle of the visible entry in the given slot (0 the top).
RECT EntrySlot(const PassInputs& pass, const WindowPlace& window, const MenuRows& rows, int slot);

// The scroll buttons' shapes at dpi, as triangles with corners a, b, c in
// the button's own coordinates: the up button 38 wide at its base and 56
// high, pointing up; the down button 38 wide and 19 high, pointing down
// (at 96 DPI).
struct Triangle {
    POINT a, b, c;
};
Triangle UpTriangle(int dpi);
Triangle DownTriangle(int dpi);

// The left edge of a control width pixels wide centred in a client area
// clientWidth pixels wide whose window starts at windowLeft.
int CentredLeft(int windowLeft, int clientWidth, int width);
