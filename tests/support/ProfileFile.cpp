#include "ProfileFile.h"

#include "WindowsFolders.h"

#include "common/ModulePath.h"
#include "common/UniqueHandle.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

std::wstring RunningProgramBaseName() {
    wchar_t module[MAX_PATH] = {};
    ModuleFilePath(nullptr, module, MAX_PATH);
    std::wstring base = module;
    base = base.substr(base.find_last_of(L"\\/:") + 1);
    return base.substr(0, base.rfind(L'.'));
}

} // namespace

ScratchProfileFile::ScratchProfileFile() : ScratchProfileFile(RunningProgramBaseName()) {}

ScratchProfileFile::ScratchProfileFile(const std::wstring& programBaseName) {
    m_path = WindowsFolder() + L"\\" + programBaseName + L".INI";
    ::DeleteFileW(m_path.c_str());
}

ScratchProfileFile::~ScratchProfileFile() {
    ::DeleteFileW(m_path.c_str());
}

void ScratchProfileFile::Write(const std::string& content) const {
    UniqueFile file(::CreateFileW(m_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file) << "cannot write the profile file";
    DWORD written = 0;
    ::WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    static ULONGLONG s_stamp = 0;
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER time{{now.dwLowDateTime, now.dwHighDateTime}};
    s_stamp = (time.QuadPart > s_stamp ? time.QuadPart : s_stamp) + 20000000; // +2 s
    time.QuadPart = s_stamp;
    FILETIME stamp{time.LowPart, time.HighPart};
    ::SetFileTime(file.get(), nullptr, nullptr, &stamp);
}

std::string ScratchProfileFile::EmptySection(const std::string& lines) {
    return lines + "[]\r\n" + lines;
}

void ScratchProfileFile::WriteEmptySection(const std::string& lines) const {
    Write(EmptySection(lines));
}
