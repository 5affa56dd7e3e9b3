#include "GdiObjectCount.h"

#include <windows.h>

int LiveGdiObjectCount() {
    DWORD reported = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported != 0) {
        return static_cast<int>(reported);
    }
    int live = 0;
    for (UINT_PTR slot = 1; slot < 0x10000; ++slot) {
        if (::GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0) {
            ++live;
        }
    }
    return live;
}
