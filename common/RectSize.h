// The size of a RECT, the one place that subtracts its edges.
#pragma once

#include <windows.h>

inline int Width(const RECT& rect) {
    return rect.right - rect.left;
}

inline int Height(const RECT& rect) {
    return rect.bottom - rect.top;
}
