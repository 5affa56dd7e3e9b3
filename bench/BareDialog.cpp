// The yardstick for the menu's start: the menu's own dialog template shown as
// a modal dialog with nothing else in the program. Its dialog procedure only
// ends the dialog on WM_CLOSE; everything else is the dialog manager's.
#include "resource.h"

#include <windows.h>

namespace {

INT_PTR CALLBACK BareDialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_CLOSE) {
        ::EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    ::DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_MEDIA_MENU), nullptr, BareDialogProc, 0);
    return 0;
}
