#include "ScreenShot.h"

#include "common/UniqueHandle.h"

#include <cstdio>
#include <cstdlib>

ScreenShot ScreenShot::Take(const RECT& requested) {
    ScreenShot shot;
    RECT screen = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    RECT area;
    if (!::IntersectRect(&area, &requested, &screen)) {
        return shot;
    }
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;

    WindowDc screenDc(nullptr);
    UniqueMemoryDc memoryDc(::CreateCompatibleDC(screenDc.get()));
    UniqueBitmap bitmap(
        ::CreateDIBSection(screenDc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!screenDc || !memoryDc || !bitmap || bits == nullptr) {
        return shot;
    }
    {
        ScopedSelection selection(memoryDc.get(), bitmap.get());
        if (!::BitBlt(memoryDc.get(), 0, 0, width, height, screenDc.get(), area.left, area.top,
                      SRCCOPY | CAPTUREBLT)) {
            return shot;
        }
    }
    ::GdiFlush();
    const DWORD* pixels = static_cast<const DWORD*>(bits);
    shot.m_pixels.assign(pixels, pixels + static_cast<size_t>(width) * height);
    shot.m_area = area;
    return shot;
}

Colour ScreenShot::At(int x, int y) const {
    if (m_pixels.empty() || x < m_area.left || x >= m_area.right || y < m_area.top ||
        y >= m_area.bottom) {
        return CLR_INVALID;
    }
    const int width = m_area.right - m_area.left;
    DWORD pixel = m_pixels[static_cast<size_t>(y - m_area.top) * width + (x - m_area.left)];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}
