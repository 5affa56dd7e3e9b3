#include "MessagePump.h"

namespace {

const MSG* g_dispatching = nullptr;

} // namespace

void PumpMessages(HWND dialog) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (dialog != nullptr && ::IsDialogMessageW(dialog, &msg)) {
            continue;
        }
        ::TranslateMessage(&msg);
        const MSG* outer = g_dispatching;
        g_dispatching = &msg;
        ::DispatchMessageW(&msg);
        g_dispatching = outer;
    }
}

const MSG* MessageBeingDispatched() {
    return g_dispatching;
}
