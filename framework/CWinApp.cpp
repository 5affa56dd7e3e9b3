#include "framework/CWinApp.h"

#include "common/ModulePath.h"
#include "common/ProfileFileName.h"

namespace {
CWinApp* g_app = nullptr;
}

CWinApp* AfxGetApp() {
    return g_app;
}

CWinApp::CWinApp() {
    g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this) {
        g_app = nullptr;
    }
}

int CWinApp::WinMain(HINSTANCE instance) {
    m_hInstance = instance;
    wchar_t modulePath[MAX_PATH] = {};
    ModuleFilePath(instance, modulePath, MAX_PATH);
    FormBaseName(modulePath, m_exeName, MAX_PATH);
    FormProfileFileName(modulePath, m_profileName, MAX_PATH);
    if (!InitInstance()) {
        return ExitInstance();
    }
    return Run();
}

int CWinApp::Run() {
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    ExitInstance();
    return static_cast<int>(msg.wParam);
}

UINT CWinApp::GetProfileInt(LPCWSTR section, LPCWSTR entry, int defaultValue) const {
    return ::GetPrivateProfileIntW(section, entry, defaultValue, m_pszProfileName);
}

HICON CWinApp::LoadIcon(UINT id) const {
    return ::LoadIconW(m_hInstance, MAKEINTRESOURCEW(id));
}
