#include "framework/Dpi.h"

#include "common/UniqueHandle.h"

namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);

// A user32 export, or null where this system's user32 lacks it. user32 is
// loaded already (the program imports it), so the look-up stays inside the
// process; it is made at every call rather than kept in a function-local
// static, whose guarded initialisation would link the C++ runtime's
// exception support into the program.
template <typename Function> Function User32Export(const char* name) {
    FARPROC address = ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), name);
    return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
}

int SystemDpi() {
    const WindowDc screen(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : kDesignDpi;
}

} // namespace

int WindowDpi(HWND window) {
    const auto getDpiForWindow = User32Export<GetDpiForWindowFunction>("GetDpiForWindow");
    const UINT dpi = getDpiForWindow != nullptr && window != nullptr ? getDpiForWindow(window) : 0;
    return dpi != 0 ? static_cast<int>(dpi) : SystemDpi();
}

int SystemMetricForDpi(int index, int dpi) {
    const auto getSystemMetricsForDpi =
        User32Export<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
    if (getSystemMetricsForDpi != nullptr) {
        return getSystemMetricsForDpi(index, static_cast<UINT>(dpi));
    }
    return ::MulDiv(::GetSystemMetrics(index), dpi, SystemDpi());
}
