// launch_probe: records how it was started and exits with 0.
//
// The record goes to the file named by the environment variable
// LAUNCH_PROBE_RECORD, which a test sets in its own process so that every
// program it starts, directly or through the shell, inherits it. The file is
// UTF-16LE: the full command line, a line feed, the working directory, a
// line feed. It is written under a temporary name and then renamed, so a
// test that polls for it never reads half a record. Without the variable the
// probe records nothing and exits with 2.
#include "common/EnvironmentVariable.h"

#include <windows.h>

#include <string>

namespace {

std::wstring CurrentDirectory() {
    DWORD size = ::GetCurrentDirectoryW(0, nullptr);
    std::wstring value(size, L'\0');
    DWORD length = ::GetCurrentDirectoryW(size, &value[0]);
    value.resize(length < size ? length : 0);
    return value;
}

bool WriteWholeFile(const std::wstring& path, const std::wstring& text) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    DWORD written = 0;
    bool ok = ::WriteFile(file, text.data(), size, &written, nullptr) && written == size;
    ::CloseHandle(file);
    return ok;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    std::wstring recordPath = EnvironmentVariable(L"LAUNCH_PROBE_RECORD");
    if (recordPath.empty()) {
        return 2;
    }
    std::wstring record = std::wstring(::GetCommandLineW()) + L"\n" + CurrentDirectory() + L"\n";
    std::wstring partial = recordPath + L".partial";
    if (!WriteWholeFile(partial, record) ||
        !::MoveFileExW(partial.c_str(), recordPath.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        return 1;
    }
    return 0;
}
