#include "media_menu/controls/ApplyRoundedWindowShape.h"

#include "common/UniqueHandle.h"
#include "framework/CWnd.h"
#include "framework/Dpi.h"
#include "media_menu/data/SettingsStore.h"

void ApplyRoundedWindowShape(CWnd* window, int defaultWidth, int defaultHeight, int dpi) {
    if (window == nullptr) {
        return;
    }
    RECT rect = {0, 0, 0, 0};
    window->GetClientRect(&rect);
    const int width =
        ScaleToDpi(ReadProfileInt(ProfileKey::kWindowEllipticalWidth, defaultWidth), dpi);
    const int height =
        ScaleToDpi(ReadProfileInt(ProfileKey::kWindowEllipticalHeight, defaultHeight), dpi);
    UniqueRegion shape(
        ::CreateRoundRectRgn(rect.left, rect.top, rect.right, rect.bottom, width, height));
    if (window->SetWindowRgn(shape.get(), TRUE) != 0) {
        shape.release(); // the window owns the region now
    }
    window->RepaintNow();
}
