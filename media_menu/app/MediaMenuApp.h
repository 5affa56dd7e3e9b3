// The menu program's application object. Every press of the media hot key
// starts a new process; the two named mutexes decide whether this one shows
// the menu, closes the open one, or does nothing.
#pragma once

#include "framework/CWinApp.h"

class MediaMenuApp : public CWinApp {
public:
    MediaMenuApp() = default;
    ~MediaMenuApp() override = default;

    // Shows the menu modally when this process is the first; returns FALSE in
    // every case, so the process ends as soon as the menu has closed.
    BOOL InitInstance() override;

    // 0 when this process is the first and must show the menu, 1 otherwise.
    int CheckSingleInstance();
    // Asks the open menu to close and waits for it; always 1.
    int CloseRunningMenu();

    // Never closed explicitly: the mutex must exist until this process ends.
    HANDLE m_hInstanceMutex = nullptr;
};
