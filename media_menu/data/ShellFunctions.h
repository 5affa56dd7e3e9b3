// The three shell functions the menu calls, with the platform's signatures.
// They are needed only once an entry is chosen, so shell32.dll is loaded at
// the first call rather than at start-up, where loading it (and what it pulls
// in) would delay the menu's appearance. Once loaded it stays for the life of
// the process, like an imported DLL.
#pragma once

#include <windows.h>

// SHGetFolderPathW; E_FAIL when shell32 cannot be loaded.
HRESULT ShellGetFolderPath(HWND owner, int folder, HANDLE token, DWORD flags, LPWSTR path);
// FindExecutableW; SE_ERR_DLLNOTFOUND when shell32 cannot be loaded.
HINSTANCE ShellFindExecutable(LPCWSTR file, LPCWSTR directory, LPWSTR result);
// ShellExecuteW; SE_ERR_DLLNOTFOUND when shell32 cannot be loaded.
HINSTANCE ShellExecuteVerb(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                           LPCWSTR directory, INT showCommand);
