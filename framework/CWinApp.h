// The one application object. The program's wWinMain (in this library) sets
// the instance handle, the program's base name and its profile file name,
// then calls InitInstance; when that returns FALSE the process ends without
// a message loop of the application's own.
#pragma once

#include <windows.h>

class CWnd;

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return 0; }
    // The application's own message loop, run when InitInstance returns TRUE.
    virtual int Run();

    // Kept for the start-up sequence; current systems draw dialog controls
    // three-dimensionally by themselves.
    void Enable3dControlsStatic() {}
    // An integer from the program's profile file (no registry key is set).
    UINT GetProfileInt(LPCWSTR section, LPCWSTR entry, int defaultValue) const;
    HICON LoadIcon(UINT id) const;

    HINSTANCE m_hInstance = nullptr;
    LPCWSTR m_pszExeName = m_exeName;
    LPCWSTR m_pszProfileName = m_profileName;
    CWnd* m_pMainWnd = nullptr;

    // Start-up as the framework's wWinMain runs it.
    int WinMain(HINSTANCE instance);

private:
    wchar_t m_exeName[MAX_PATH] = {};
    wchar_t m_profileName[MAX_PATH] = {};
};

CWinApp* AfxGetApp();
