#include "Colours.h"

#include <cstdio>
#include <cstdlib>

std::string ColourText(COLORREF colour) {
    if (colour == CLR_INVALID) {
        return "(outside the picture)";
    }
    char text[40];
    std::snprintf(text, sizeof text, "RGB(%u, %u, %u)", GetRValue(colour), GetGValue(colour),
                  GetBValue(colour));
    return text;
}

int ChannelDistance(COLORREF a, COLORREF b) {
    int r = std::abs(GetRValue(a) - GetRValue(b));
    int g = std::abs(GetGValue(a) - GetGValue(b));
    int bl = std::abs(GetBValue(a) - GetBValue(b));
    return r > g ? (r > bl ? r : bl) : (g > bl ? g : bl);
}

bool ColoursNear(COLORREF a, COLORREF b, int tolerance) {
    return a != CLR_INVALID && b != CLR_INVALID && ChannelDistance(a, b) <= tolerance;
}
