#include "media_menu/app/MediaMenuApp.h"

#include "media_menu/app/MediaMenuDialog.h"

#include <imm.h>

namespace {

// No namespace prefix: the local namespace of the user's logon session.
const wchar_t kInstanceMutexName[] = L"VMENU_MutexToRunAUniqueInstance";
const wchar_t kCloserMutexName[] = L"CloseVMENU_MutexToRunAUniqueInstance";
const DWORD kCloserWaitMs = 500;

} // namespace

MediaMenuApp theApp;

BOOL MediaMenuApp::InitInstance() {
    Enable3dControlsStatic();
    if (CheckSingleInstance() != 0) {
        return FALSE;
    }
    // The menu takes no text input, so its process needs no input method;
    // keys reach the buttons as they are, and the window's first activation
    // does not have to set one up.
    ::ImmDisableIME(static_cast<DWORD>(-1));
    MediaMenuDialog dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}

int MediaMenuApp::CheckSingleInstance() {
    // The mutexes are existence flags only: nobody waits on or owns them. The
    // test-and-create is one atomic call, so of several processes started
    // together exactly one becomes the menu, and one the closer.
    m_hInstanceMutex = ::CreateMutexW(nullptr, FALSE, kInstanceMutexName);
    if (::GetLastError() != ERROR_ALREADY_EXISTS) {
        return 0; // the first process; a failed creation counts the same
    }
    // Left open on purpose: it marks "a closer is at work" for this whole
    // process, the wait included, so further starts do nothing.
    ::CreateMutexW(nullptr, FALSE, kCloserMutexName);
    if (::GetLastError() != ERROR_ALREADY_EXISTS) {
        CloseRunningMenu();
    }
    return 1;
}

int MediaMenuApp::CloseRunningMenu() {
    // The menu is a dialog: looking for the dialog class as well as the title
    // keeps an unrelated window that happens to bear the title from being
    // closed.
    HWND menu = ::FindWindowW(MediaMenuDialog::kWindowClass, MediaMenuDialog::kTitle);
    if (menu != nullptr) {
        ::PostMessageW(menu, WM_CLOSE, 0, 0);
    }
    ::Sleep(kCloserWaitMs);
    return 1;
}
