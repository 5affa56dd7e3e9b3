#include "ShellFunctions.h"

#include <shellapi.h>

namespace {

// The menu's one user-interface thread is the only caller.
HMODULE g_shell32 = nullptr;
bool g_shell32Tried = false;

// Null when shell32 or the function is missing.
template <class Function> Function ShellFunction(const char* name) {
    if (!g_shell32Tried) {
        g_shell32Tried = true;
        g_shell32 = ::LoadLibraryW(L"shell32.dll");
    }
    if (g_shell32 == nullptr) {
        return nullptr;
    }
    // Through the generic function pointer type, which converts to any other.
    return reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(::GetProcAddress(g_shell32, name)));
}

HINSTANCE NotLoaded() {
    return reinterpret_cast<HINSTANCE>(SE_ERR_DLLNOTFOUND);
}

} // namespace

HRESULT ShellGetFolderPath(HWND owner, int folder, HANDLE token, DWORD flags, LPWSTR path) {
    using Function = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);
    const Function function = ShellFunction<Function>("SHGetFolderPathW");
    return function != nullptr ? function(owner, folder, token, flags, path) : E_FAIL;
}

HINSTANCE ShellFindExecutable(LPCWSTR file, LPCWSTR directory, LPWSTR result) {
    using Function = HINSTANCE(WINAPI*)(LPCWSTR, LPCWSTR, LPWSTR);
    const Function function = ShellFunction<Function>("FindExecutableW");
    return function != nullptr ? function(file, directory, result) : NotLoaded();
}

HINSTANCE ShellExecuteVerb(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                           LPCWSTR directory, INT showCommand) {
    using Function = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
    const Function function = ShellFunction<Function>("ShellExecuteW");
    return function != nullptr ? function(owner, verb, file, parameters, directory, showCommand)
                               : NotLoaded();
}
