#include "GeometryPrinters.h"

bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool operator==(const POINT& a, const POINT& b) {
    return a.x == b.x && a.y == b.y;
}

std::ostream& operator<<(std::ostream& out, const RECT& rect) {
    return out << "(" << rect.left << ", " << rect.top << ", " << rect.right << ", " << rect.bottom
               << ") " << rect.right - rect.left << " x " << rect.bottom - rect.top;
}

std::ostream& operator<<(std::ostream& out, const POINT& point) {
    return out << "(" << point.x << ", " << point.y << ")";
}
