#pragma once

#include "Colours.h"

#include <windows.h>

#include <vector>

// The pixels of a picture, row by row from the top, read back as colours:
// of a bitmap, or of part of the screen as the user sees it (every
// process's drawing, window regions included).
struct Picture {
    POINT origin = {}; // where the picture's top-left pixel is: on the screen, or (0, 0)
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;

    bool Valid() const { return !pixels.empty(); }
    // CLR_INVALID outside the picture.
    Colour At(int x, int y) const;
    Colour At(POINT point) const { return At(point.x, point.y); }
};

Picture ReadPicture(HBITMAP bitmap);
// area: screen coordinates; clipped to the screen.
Picture ScreenPicture(const RECT& area);
