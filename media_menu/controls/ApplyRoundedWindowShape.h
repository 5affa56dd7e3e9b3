// The menu window's own rounded outline (the buttons shape themselves).
#pragma once

class CWnd;

// Gives window a rounded-rectangle window region over its client rectangle,
// with the corner ellipse from the "Window Elliptical Width" and "Window
// Elliptical Height" settings (the defaults when absent), taken at 96 DPI
// and scaled to dpi, then repaints it.
void ApplyRoundedWindowShape(CWnd* window, int defaultWidth, int defaultHeight, int dpi);
