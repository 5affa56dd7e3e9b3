#pragma once

#include <windows.h>

#include <string>

// "RGB(r, g, b)" for assertion messages; CLR_INVALID reads "(outside the picture)".
std::string ColourText(COLORREF colour);
// The largest difference of one channel between two colours.
int ChannelDistance(COLORREF a, COLORREF b);
// True when both are colours and no channel differs by more than tolerance.
bool ColoursNear(COLORREF a, COLORREF b, int tolerance);
