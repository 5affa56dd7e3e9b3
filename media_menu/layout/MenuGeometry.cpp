#include "media_menu/layout/MenuGeometry.h"

#include "common/RectSize.h"

namespace {

// The menu's sizes at 96 DPI.
constexpr int kEntryHeight = 70;
constexpr int kEntryGap = 1;          // between neighbouring rows
constexpr int kInnerMargin = 5;       // from the window's left edge and client top to the
                                      // first row, and below the last entry of a fitting menu
constexpr int kNarrowThreshold = 280; // narrower measured entries become...
constexpr int kSubstituteWidth = 400; // ...this wide
constexpr int kWorkAreaAllowance = 25;
constexpr int kScrollRows = 2; // a scrolling menu's rows for the up and down buttons
constexpr int kTriangleBase = 38;
constexpr int kUpTriangleHeight = 56;
constexpr int kDownTriangleHeight = 19;

// Those sizes at one DPI. The sums are taken of sizes already scaled, so
// every row stays as tall as its parts whatever the rounding.
struct Sizes {
    explicit Sizes(int dpi)
        : entryHeight(ScaleToDpi(kEntryHeight, dpi)), gap(ScaleToDpi(kEntryGap, dpi)),
          margin(ScaleToDpi(kInnerMargin, dpi)), pitch(entryHeight + gap),
          // The window is as wide as an entry with the margin on each side.
          sides(2 * margin),
          // Margins above and below the entries, and no gap after the last.
          fitExtra(2 * margin - gap), scrollReserve(kScrollRows * pitch) {}
    int entryHeight;
    int gap;
    int margin;
    int pitch; // between the tops of neighbouring entries
    int sides;
    int fitExtra;
    int scrollReserve;
};

} // namespace

int EntryWidth(int widestMeasured, int averageCharWidth, int widestDrawn, int workWidth, int dpi) {
    int width = widestMeasured + averageCharWidth;
    if (width < ScaleToDpi(kNarrowThreshold, dpi)) {
        width = ScaleToDpi(kSubstituteWidth, dpi);
    }
    // The captions are drawn in a larger font than the one measured above:
    // entries too narrow for that are widened.
    if (widestDrawn > width) {
        width = widestDrawn;
    }
    // Never beyond the work area less the window's sides, by either rule: a
    // wider window would stick out of the screen with its captions cut at
    // both ends. A caption that does not fit is drawn shortened instead.
    const int sides = Sizes(dpi).sides;
    const int widestAllowed = workWidth > sides ? workWidth - sides : 0;
    return width < widestAllowed ? width : widestAllowed;
}

WindowPlace PlaceMenuWindow(const PassInputs& pass, int entryCount) {
    const Sizes sizes(pass.dpi);
    const int fitHeight =
        sizes.pitch * entryCount + sizes.fitExtra + pass.captionHeight + pass.borderHeight;
    const int scrollingHeight = Height(pass.work) - ScaleToDpi(kWorkAreaAllowance, pass.dpi);
    WindowPlace window = {};
    window.fits = fitHeight <= scrollingHeight;
    window.rect.right = pass.work.right - pass.hMargin;
    window.rect.left = window.rect.right - sizes.sides - pass.entryWidth;
    window.rect.bottom = pass.work.bottom - pass.vMargin;
    window.rect.top = window.rect.bottom - (window.fits ? fitHeight : scrollingHeight);
    return window;
}

MenuRows PlaceRows(const PassInputs& pass, const WindowPlace& window, int entryCount,
                   int headerHeight) {
    const Sizes sizes(pass.dpi);
    MenuRows rows = {};
    rows.headerTop = window.rect.top + pass.captionHeight + pass.borderHeight + sizes.margin;
    // The footer sits the horizontal margin (half the horizontal thumb) above
    // the window's bottom, not the vertical one: a quirk kept on purpose, as
    // the menu has always placed it so. Both are the same on common systems.
    rows.footerTop = window.rect.bottom - pass.marker.cy - pass.hMargin;
    if (window.fits) {
        rows.upTop = rows.headerTop;
        rows.entryTop = rows.headerTop;
        rows.visible = entryCount;
    } else {
        const int inner = Height(window.rect) - pass.captionHeight - pass.borderHeight;
        int visible = (inner - headerHeight - pass.marker.cy - sizes.scrollReserve) / sizes.pitch;
        if (visible < 0) {
            visible = 0; // no room at all: nothing is shown
        }
        if (visible > entryCount) {
            visible = entryCount; // cannot happen with markers of any size; keeps end <= n
        }
        rows.upTop = rows.headerTop + pass.marker.cy + sizes.gap;
        rows.entryTop = rows.upTop + sizes.pitch;
        rows.visible = visible;
    }
    rows.downTop = rows.entryTop + sizes.pitch * rows.visible;
    return rows;
}

RECT EntrySlot(const PassInputs& pass, const WindowPlace& window, const MenuRows& rows, int slot) {
    const Sizes sizes(pass.dpi);
    const int left = window.rect.left + sizes.margin;
    const int top = rows.entryTop + sizes.pitch * slot;
    return RECT{left, top, left + pass.entryWidth, top + sizes.entryHeight};
}

Triangle UpTriangle(int dpi) {
    const int base = ScaleToDpi(kTriangleBase, dpi);
    const int height = ScaleToDpi(kUpTriangleHeight, dpi);
    return Triangle{{0, height}, {base, height}, {base / 2, 0}};
}

Triangle DownTriangle(int dpi) {
    const int base = ScaleToDpi(kTriangleBase, dpi);
    const int height = ScaleToDpi(kDownTriangleHeight, dpi);
    return Triangle{{0, 0}, {base, 0}, {base / 2, height}};
}

int CentredLeft(int windowLeft, int clientWidth, int width) {
    return windowLeft + clientWidth / 2 - width / 2;
}
