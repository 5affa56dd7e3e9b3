#pragma once

#include <string>

// A folder that a test owns: created empty (an old one of the same path is
// removed first) and removed with everything in it when the test ends.
// Removal retries for a while, since a program that the test started may
// still be ending and hold its executable open.
class ScratchFolder {
public:
    explicit ScratchFolder(std::wstring path);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::wstring& Path() const { return m_path; }
    // Path() + "\" + relative.
    std::wstring operator/(const std::wstring& relative) const { return m_path + L"\\" + relative; }

    // Creates a subfolder (and its parents inside this folder); returns its path.
    std::wstring AddFolder(const std::wstring& relative) const;
    // Writes a file with the given bytes; returns its path.
    std::wstring AddFile(const std::wstring& relative, const std::string& content = {}) const;
    // Copies an existing file into the folder; returns the copy's path.
    std::wstring AddCopy(const std::wstring& source, const std::wstring& relative) const;

private:
    std::wstring m_path;
};

// Deletes a folder tree; true when it is gone.
bool DeleteFolderTree(const std::wstring& path);
