#pragma once

#include <windows.h>

#include <ostream>

// A colour as the tests read, compare and print it: one EXPECT_EQ compares
// two colours and prints both as "RGB(r, g, b)". Made implicitly from a
// COLORREF, so a constant compares with a pixel as it is; CLR_INVALID (a
// point outside a picture) prints as "(outside the picture)".
struct Colour {
    Colour(COLORREF colour) : value(colour) {}
    COLORREF value;
};

bool operator==(Colour a, Colour b);
bool operator!=(Colour a, Colour b);
std::ostream& operator<<(std::ostream& out, Colour colour);

// The largest difference of one channel between two colours.
int ChannelDistance(Colour a, Colour b);
// True when both are colours and no channel differs by more than tolerance.
bool ColoursNear(Colour a, Colour b, int tolerance);
