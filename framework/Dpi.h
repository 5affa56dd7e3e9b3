// Dots per inch, and the pixel sizes of a design made at 96 DPI scaled to
// them. The functions that give a window's own DPI and the system metrics
// for a DPI came with Windows 10 1607 (Wine 8 has them): they are looked up
// at run time, so the program still loads where they are missing, and the
// system DPI stands in for them there.
#pragma once

#include <windows.h>

// The DPI the menu's pixel sizes are designed at: 100 % scaling.
constexpr int kDesignDpi = 96;

// A size designed at 96 DPI, at dpi; MulDiv rounds halves away from zero.
inline int ScaleToDpi(int size, int dpi) {
    return ::MulDiv(size, dpi, kDesignDpi);
}

// The DPI the window is drawn at (that of its monitor for a per-monitor
// aware program); the system DPI where the system cannot tell.
int WindowDpi(HWND window);

// A system metric (SM_...) at dpi; where the system gives metrics only at
// its own DPI, that metric scaled from it.
int SystemMetricForDpi(int index, int dpi);
