// Entry point of a framework program: hands control to the one CWinApp.
#include "framework/CWinApp.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    CWinApp* app = AfxGetApp();
    return app != nullptr ? app->WinMain(instance) : 1;
}
