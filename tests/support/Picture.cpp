#include "Picture.h"

#include "common/RectSize.h"
#include "common/UniqueHandle.h"

#include <cstdint>

Colour Picture::At(int x, int y) const {
    x -= origin.x;
    y -= origin.y;
    if (x < 0 || y < 0 || x >= width || y >= height) {
        return CLR_INVALID;
    }
    return pixels[static_cast<size_t>(y) * width + x];
}

Picture ReadPicture(HBITMAP bitmap) {
    Picture picture;
    BITMAP info = {};
    if (bitmap == nullptr || ::GetObjectW(bitmap, sizeof info, &info) == 0) {
        return picture;
    }
    BITMAPINFO request = {};
    request.bmiHeader.biSize = sizeof request.bmiHeader;
    request.bmiHeader.biWidth = info.bmWidth;
    request.bmiHeader.biHeight = -info.bmHeight; // top-down
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = 32;
    request.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> bits(static_cast<size_t>(info.bmWidth) * info.bmHeight);
    WindowDc screen(nullptr);
    if (::GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(info.bmHeight), bits.data(),
                    &request, DIB_RGB_COLORS) == 0) {
        return picture;
    }
    picture.width = info.bmWidth;
    picture.height = info.bmHeight;
    for (uint32_t value : bits) { // 0x00RRGGBB
        picture.pixels.push_back(RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF));
    }
    return picture;
}

Picture ScreenPicture(const RECT& requested) {
    const RECT screen = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    RECT area;
    if (!::IntersectRect(&area, &requested, &screen)) {
        return {};
    }
    // Through the screen's device context, so that it shows what every
    // process has drawn.
    WindowDc screenDc(nullptr);
    UniqueMemoryDc memoryDc(::CreateCompatibleDC(screenDc.get()));
    UniqueBitmap bitmap(::CreateCompatibleBitmap(screenDc.get(), Width(area), Height(area)));
    if (!screenDc || !memoryDc || !bitmap) {
        return {};
    }
    {
        ScopedSelection selection(memoryDc.get(), bitmap.get());
        if (!::BitBlt(memoryDc.get(), 0, 0, Width(area), Height(area), screenDc.get(), area.left,
                      area.top, SRCCOPY | CAPTUREBLT)) {
            return {};
        }
    }
    Picture picture = ReadPicture(bitmap.get());
    picture.origin = POINT{area.left, area.top};
    return picture;
}
