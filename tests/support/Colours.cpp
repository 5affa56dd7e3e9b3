#include "Colours.h"

#include <cstdlib>

bool operator==(Colour a, Colour b) {
    return a.value == b.value;
}

bool operator!=(Colour a, Colour b) {
    return a.value != b.value;
}

std::ostream& operator<<(std::ostream& out, Colour colour) {
    if (colour.value == CLR_INVALID) {
        return out << "(outside the picture)";
    }
    return out << "RGB(" << int{GetRValue(colour.value)} << ", " << int{GetGValue(colour.value)}
               << ", " << int{GetBValue(colour.value)} << ")";
}

int ChannelDistance(Colour a, Colour b) {
    int r = std::abs(GetRValue(a.value) - GetRValue(b.value));
    int g = std::abs(GetGValue(a.value) - GetGValue(b.value));
    int bl = std::abs(GetBValue(a.value) - GetBValue(b.value));
    return r > g ? (r > bl ? r : bl) : (g > bl ? g : bl);
}

bool ColoursNear(Colour a, Colour b, int tolerance) {
    return a.value != CLR_INVALID && b.value != CLR_INVALID && ChannelDistance(a, b) <= tolerance;
}
