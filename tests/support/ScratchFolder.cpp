#include "ScratchFolder.h"

#include "FileContents.h"
#include "TestPaths.h"
#include "Waiting.h"
#include "common/UniqueHandle.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

bool DeleteTreeOnce(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    UniqueFindHandle search(::FindFirstFileW((path + L"\\*").c_str(), &data));
    if (search) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            std::wstring child = path + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                DeleteTreeOnce(child);
            } else {
                ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(child.c_str());
            }
        } while (::FindNextFileW(search.get(), &data));
    }
    search.reset();
    ::RemoveDirectoryW(path.c_str());
    return ::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

} // namespace

bool DeleteFolderTree(const std::wstring& path) {
    // A program that has just ended may still hold its files for a moment.
    return WaitUntil([&] { return DeleteTreeOnce(path); }, 5000);
}

ScratchFolder::ScratchFolder(std::wstring path) : m_path(std::move(path)) {
    EXPECT_TRUE(DeleteFolderTree(m_path)) << "could not remove " << Utf8(m_path);
    AddFolder(L"");
}

ScratchFolder::~ScratchFolder() {
    EXPECT_TRUE(DeleteFolderTree(m_path)) << "could not remove " << Utf8(m_path);
}

std::wstring ScratchFolder::AddFolder(const std::wstring& relative) const {
    std::wstring path = relative.empty() ? m_path : *this / relative;
    // Create each level in turn; existing ones are fine.
    for (size_t slash = path.find(L'\\', 3); slash != std::wstring::npos;
         slash = path.find(L'\\', slash + 1)) {
        ::CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
    }
    ::CreateDirectoryW(path.c_str(), nullptr);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(path.c_str())) << Utf8(path);
    return path;
}

std::wstring ScratchFolder::AddFile(const std::wstring& relative,
                                    const std::string& content) const {
    std::wstring path = *this / relative;
    EXPECT_TRUE(WriteFileBytes(path, content.data(), content.size()))
        << "could not write " << Utf8(path);
    return path;
}

std::wstring ScratchFolder::AddCopy(const std::wstring& source,
                                    const std::wstring& relative) const {
    std::wstring path = *this / relative;
    EXPECT_TRUE(::CopyFileW(source.c_str(), path.c_str(), FALSE))
        << "could not copy " << Utf8(source) << " to " << Utf8(path);
    return path;
}
