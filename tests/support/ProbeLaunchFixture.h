#pragma once

#include "LaunchProbe.h"
#include "ScratchFolder.h"
#include "WindowsFolders.h"

#include <gtest/gtest.h>

#include <string>

// Mixed into the fixtures of tests that launch entries: copies of the launch
// probe in a scratch folder, one in the folder itself and one in a subfolder
// with a blank in its name, and the record the probe writes when started.
class ProbeLaunchFixture {
protected:
    ScratchFolder m_root{ProcessScratchPath(L"probe_launch")};
    std::wstring m_plainFolder = m_root.Path();
    std::wstring m_plainProbe = m_root.AddCopy(ProbeProgramPath(), L"launch_probe.exe");
    std::wstring m_blankFolder = m_root.AddFolder(L"with blank");
    std::wstring m_blankProbe = m_root.AddCopy(ProbeProgramPath(), L"with blank\\launch_probe.exe");
    ProbeRecordScope m_record{m_root / L"record.txt"};

    // A probe was started with exactly this command line, in this folder.
    void ExpectStarted(const std::wstring& commandLine, const std::wstring& folder) const {
        const ProbeRecord record = WaitForProbeRecord(m_record.Path());
        ASSERT_TRUE(record.found) << "the probe was not started";
        EXPECT_EQ(commandLine, record.commandLine);
        EXPECT_EQ(folder, record.workingDirectory);
    }
    // Called once whatever could have started a probe has returned or ended.
    bool NothingStarted() const { return !m_record.ProbeStarted(); }
};
