#pragma once

#include "ScopedEnvironmentVariable.h"

#include <windows.h>

#include <string>

// The probe program (build/tests/launch_probe.exe) records its command line
// and working directory into the file named by this environment variable.
constexpr wchar_t kProbeRecordVariable[] = L"LAUNCH_PROBE_RECORD";

std::wstring ProbeProgramPath();

struct ProbeRecord {
    bool found = false;
    std::wstring commandLine;
    std::wstring workingDirectory;
};

// Polls for the record file until it appears or timeoutMs has passed.
ProbeRecord WaitForProbeRecord(const std::wstring& recordPath, DWORD timeoutMs = 30000);

// Points kProbeRecordVariable at recordPath for this process and the programs
// it starts, deleting any old record (and the record when it ends); the
// variable is restored when it ends, so scopes nest.
class ProbeRecordScope {
public:
    explicit ProbeRecordScope(std::wstring recordPath);
    ~ProbeRecordScope();
    ProbeRecordScope(const ProbeRecordScope&) = delete;
    ProbeRecordScope& operator=(const ProbeRecordScope&) = delete;

    const std::wstring& Path() const { return m_path; }
    // True when a probe started since this scope began: one still runs, or
    // one that ended left its record. Exact without waiting once whatever
    // could have started a probe has returned from the start, since the
    // started process exists from then on.
    bool ProbeStarted() const;

private:
    std::wstring m_path;
    ScopedEnvironmentVariable m_variable;
    ULONGLONG m_began = 0; // FILETIME units
};
