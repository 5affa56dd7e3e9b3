#pragma once

#include <windows.h>

// Handles every message waiting in this thread's queue, as a message loop
// would; with a dialog, through the dialog manager first, as its modal loop
// does. A WM_QUIT is put back for the loop it belongs to, and the pump stops.
void PumpMessages(HWND dialog = nullptr);

// The queued message PumpMessages is dispatching right now, null when none:
// a message that reaches a window procedure otherwise was sent to it.
const MSG* MessageBeingDispatched();
