#pragma once

#include <string>

// The profile file the platform's profile functions find for the running
// test program (or another program): its base name with ".INI" in the
// Windows folder. The test
// owns it: it is deleted when this object is made and again when it goes.
class ScratchProfileFile {
public:
    ScratchProfileFile();
    // The profile file of another program, given its base name ("VLTMedia").
    explicit ScratchProfileFile(const std::wstring& programBaseName);
    ~ScratchProfileFile();
    ScratchProfileFile(const ScratchProfileFile&) = delete;
    ScratchProfileFile& operator=(const ScratchProfileFile&) = delete;

    const std::wstring& Path() const { return m_path; }

    // Writes the file's bytes. Wine keeps a parsed profile until the file's
    // write time changes, so every write gets a later time than the last.
    void Write(const std::string& content) const;

    // Writes "key=value" lines into the empty section "". They appear twice:
    // before any header, where Wine 8 finds them, and under "[]", where
    // Windows does (Wine 8 does not look under "[]" for the section "").
    void WriteEmptySection(const std::string& lines) const;
    // The text WriteEmptySection writes, to combine with other sections.
    static std::string EmptySection(const std::string& lines);

private:
    std::wstring m_path;
};
