#include "media_menu/layout/MenuGeometry.h"

#include "common/RectSize.h"

namespace {

constexpr int kEntryPitch = 71;       // between the tops of neighbouring entries
constexpr int kEntryHeight = 70;      // so entries are one pixel apart
constexpr int kInnerMargin = 5;       // left edge and client top to the first row
constexpr int kSideAllowance = 10;    // window width = entry width + 10
constexpr int kFitExtra = 9;          // fitting window height = 71 n + 9
constexpr int kNarrowThreshold = 280; // narrower measured entries become...
constexpr int kSubstituteWidth = 400; // ...this wide
constexpr int kWorkAreaAllowance = 25;
constexpr int kScrollReserve = 142;

} // namespace

int EntryWidth(int widestMeasured, int averageCharWidth, int widestDrawn, int workWidth) {
    int width = widestMeasured + averageCharWidth;
    if (width < kNarrowThreshold) {
        width = kSubstituteWidth;
    }
    // The captions are drawn in a larger font than the one measured above:
    // entries too narrow for that are widened.
    if (widestDrawn > width) {
        width = widestDrawn;
    }
    // Never beyond the work area less the window's sides, by either rule: a
    // wider window would stick out of the screen with its captions cut at
    // both ends. A caption that does not fit is drawn shortened instead.
    const int widestAllowed = workWidth > kSideAllowance ? workWidth - kSideAllowance : 0;
    return width < widestAllowed ? width : widestAllowed;
}

WindowPlace PlaceMenuWindow(const PassInputs& pass, int entryCount) {
    const int fitHeight =
        kEntryPitch * entryCount + kFitExtra + pass.captionHeight + pass.borderHeight;
    const int scrollingHeight = Height(pass.work) - kWorkAreaAllowance;
    WindowPlace window = {};
    window.fits = fitHeight <= scrollingHeight;
    window.rect.right = pass.work.right - pass.hMargin;
    window.rect.left = window.rect.right - kSideAllowance - pass.entryWidth;
    window.rect.bottom = pass.work.bottom - pass.vMargin;
    window.rect.top = window.rect.bottom - (window.fits ? fitHeight : scrollingHeight);
    return window;
}

MenuRows PlaceRows(const PassInputs& pass, const WindowPlace& window, int entryCount,
                   int headerHeight) {
    MenuRows rows = {};
    rows.headerTop = window.rect.top + pass.captionHeight + pass.borderHeight + kInnerMargin;
    rows.footerTop = window.rect.bottom - pass.marker.cy - pass.hMargin;
    if (window.fits) {
        rows.upTop = rows.headerTop;
        rows.entryTop = rows.headerTop;
        rows.visible = entryCount;
    } else {
        const int inner = Height(window.rect) - pass.captionHeight - pass.borderHeight;
        int visible = (inner - headerHeight - pass.marker.cy - kScrollReserve) / kEntryPitch;
        if (visible < 0) {
            visible = 0; // no room at all: nothing is shown
        }
        if (visible > entryCount) {
            visible = entryCount; // cannot happen with markers of any size; keeps end <= n
        }
        rows.upTop = rows.headerTop + pass.marker.cy + 1;
        rows.entryTop = rows.upTop + kEntryPitch;
        rows.visible = visible;
    }
    rows.downTop = rows.entryTop + kEntryPitch * rows.visible;
    return rows;
}

RECT EntrySlot(const PassInputs& pass, const WindowPlace& window, const MenuRows& rows, int slot) {
    const int left = window.rect.left + kInnerMargin;
    const int top = rows.entryTop + kEntryPitch * slot;
    return RECT{left, top, left + pass.entryWidth, top + kEntryHeight};
}

int CentredLeft(int windowLeft, int clientWidth, int width) {
    return windowLeft + clientWidth / 2 - width / 2;
}
