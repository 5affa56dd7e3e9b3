#include "ScopedCurrentDirectory.h"

#include <windows.h>

#include <gtest/gtest.h>

ScopedCurrentDirectory::ScopedCurrentDirectory(const std::wstring& folder) {
    wchar_t previous[MAX_PATH] = {};
    const DWORD length = ::GetCurrentDirectoryW(MAX_PATH, previous);
    m_previous.assign(previous, length < MAX_PATH ? length : 0);
    EXPECT_TRUE(::SetCurrentDirectoryW(folder.c_str()));
}

ScopedCurrentDirectory::~ScopedCurrentDirectory() {
    ::SetCurrentDirectoryW(m_previous.c_str());
}
