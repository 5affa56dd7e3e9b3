#include "GeometryPrinters.h"

bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool operator!=(const RECT& a, const RECT& b) {
    return !(a == b);
}

bool operator==(const POINT& a, const POINT& b) {
    return a.x == b.x && a.y == b.y;
}

bool operator!=(const POINT& a, const POINT& b) {
    return !(a == b);
}

bool operator==(const SIZE& a, const SIZE& b) {
    return a.cx == b.cx && a.cy == b.cy;
}

bool operator!=(const SIZE& a, const SIZE& b) {
    return !(a == b);
}

void PrintTo(const RECT& rect, std::ostream* out) {
    *out << "(" << rect.left << ", " << rect.top << ", " << rect.right << ", " << rect.bottom
         << ") " << rect.right - rect.left << " x " << rect.bottom - rect.top;
}

std::ostream& operator<<(std::ostream& out, const RECT& rect) {
    PrintTo(rect, &out);
    return out;
}

void PrintTo(const POINT& point, std::ostream* out) {
    *out << "(" << point.x << ", " << point.y << ")";
}

void PrintTo(const SIZE& size, std::ostream* out) {
    *out << size.cx << " x " << size.cy;
}
