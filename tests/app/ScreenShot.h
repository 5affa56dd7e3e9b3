// A picture of part of the screen as the user sees it, taken through the
// screen's device context (GetDC(NULL) and BitBlt into a 32-bit DIB), so it
// shows what every process has drawn, window regions included.
#pragma once

#include "tests/support/Colours.h"

#include <windows.h>

#include <string>
#include <vector>

class ScreenShot {
public:
    // area: screen coordinates; clipped to the screen.
    static ScreenShot Take(const RECT& area);

    bool Valid() const { return !m_pixels.empty(); }
    // The colour at a screen point; CLR_INVALID outside the area.
    Colour At(int x, int y) const;
    Colour At(POINT point) const { return At(point.x, point.y); }

private:
    RECT m_area = {};
    std::vector<DWORD> m_pixels; // top-down rows, 0x00RRGGBB
};
