#include "WindowsFolders.h"

#include <windows.h>

std::wstring WindowsFolder() {
    wchar_t folder[MAX_PATH] = {};
    ::GetWindowsDirectoryW(folder, MAX_PATH);
    return folder;
}

std::wstring SystemFolder() {
    wchar_t folder[MAX_PATH] = {};
    ::GetSystemDirectoryW(folder, MAX_PATH);
    return folder;
}

std::wstring ProcessScratchPath(const std::wstring& stem) {
    return WindowsFolder() + L"\\Temp\\" + stem + L"_" + std::to_wstring(::GetCurrentProcessId());
}
