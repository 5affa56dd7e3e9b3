// registry_files DIR: once no program outside the Windows folder runs (an
// uninstaller's temporary copy outlives the command that started it), writes
// HKEY_LOCAL_MACHINE to DIR\system.reg and HKEY_CURRENT_USER to DIR\user.reg.
// Wine saves a key in the format of its own registry files, so the installer
// cycle reads them as it would the prefix's; its server, and with it Wine's
// services, keeps running, where ending it to have the files written would
// boot them again for the next program (seconds where Wine runs emulated).
#include "common/UniqueHandle.h"

#include <windows.h>
#include <tlhelp32.h>

#include <cwctype>
#include <string>

namespace {

bool IsWindowsProgram(DWORD processId, const std::wstring& windowsFolder) {
    UniqueKernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    wchar_t image[MAX_PATH] = {};
    DWORD length = MAX_PATH;
    if (!process || !::QueryFullProcessImageNameW(process.get(), 0, image, &length)) {
        return true; // gone meanwhile, or not a program of ours to wait for
    }
    std::wstring path(image, length);
    for (wchar_t& c : path) {
        c = static_cast<wchar_t>(std::towlower(c));
    }
    return path.compare(0, windowsFolder.size(), windowsFolder) == 0;
}

bool OnlyWindowsProgramsRun(const std::wstring& windowsFolder) {
    // A toolhelp snapshot fails with INVALID_HANDLE_VALUE and closes with
    // CloseHandle, as a file does.
    UniqueFile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = snapshot && ::Process32FirstW(snapshot.get(), &entry); more;
         more = ::Process32NextW(snapshot.get(), &entry)) {
        if (entry.th32ProcessID != ::GetCurrentProcessId() &&
            !IsWindowsProgram(entry.th32ProcessID, windowsFolder)) {
            return false;
        }
    }
    return true;
}

bool EnableBackupPrivilege() {
    UniqueKernelHandle token;
    TOKEN_PRIVILEGES privileges = {1, {{{0, 0}, SE_PRIVILEGE_ENABLED}}};
    return ::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, token.put()) &&
           ::LookupPrivilegeValueW(nullptr, SE_BACKUP_NAME, &privileges.Privileges[0].Luid) &&
           ::AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr);
}

bool Save(HKEY root, const std::wstring& file) {
    ::DeleteFileW(file.c_str());
    return ::RegSaveKeyW(root, file.c_str(), nullptr) == ERROR_SUCCESS;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        return 2;
    }
    wchar_t folder[MAX_PATH] = {};
    const UINT length = ::GetWindowsDirectoryW(folder, MAX_PATH);
    std::wstring windowsFolder(folder, length < MAX_PATH ? length : 0);
    for (wchar_t& c : windowsFolder) {
        c = static_cast<wchar_t>(std::towlower(c));
    }
    windowsFolder += L'\\';
    // The caller bounds the wait.
    while (!OnlyWindowsProgramsRun(windowsFolder)) {
        ::Sleep(100);
    }
    const std::wstring dir = argv[1];
    return EnableBackupPrivilege() && Save(HKEY_LOCAL_MACHINE, dir + L"\\system.reg") &&
                   Save(HKEY_CURRENT_USER, dir + L"\\user.reg")
               ? 0
               : 1;
}
