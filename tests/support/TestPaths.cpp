#include "TestPaths.h"

#include "common/ModulePath.h"

#include <windows.h>

namespace {

// The program's folder, without the trailing backslash.
std::wstring ModuleDir() {
    wchar_t folder[MAX_PATH] = {};
    DWORD length = ModuleFolder(nullptr, folder, MAX_PATH);
    return std::wstring(folder, length != 0 ? length - 1 : 0);
}

std::wstring ParentDir(const std::wstring& dir) {
    size_t slash = dir.find_last_of(L"\\/");
    return slash == std::wstring::npos ? dir : dir.substr(0, slash);
}

// The 64-bit test programs and deliverables are in x64 folders below
// build\tests and build\bin.
#ifdef _WIN64
const wchar_t kPlatformFolder[] = L"\\x64";
#else
const wchar_t kPlatformFolder[] = L"";
#endif

} // namespace

std::wstring TestProgramDir() {
    return ModuleDir();
}

std::wstring TestProgramPath(const wchar_t* fileName) {
    return TestProgramDir() + L"\\" + fileName;
}

std::wstring DeliverableDir() {
    std::wstring tests = ModuleDir();
    tests.resize(tests.size() - wcslen(kPlatformFolder));
    return ParentDir(tests) + L"\\bin" + kPlatformFolder;
}

std::wstring DeliverablePath(const wchar_t* fileName) {
    return DeliverableDir() + L"\\" + fileName;
}

std::string Utf8(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                     nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &result[0], size,
                          nullptr, nullptr);
    return result;
}
