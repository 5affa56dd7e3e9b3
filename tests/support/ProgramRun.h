#pragma once

#include "common/UniqueHandle.h"

#include <windows.h>

#include <string>

// A program started in the test prefix (CreateProcessW: the tests themselves
// run under Wine, so a built .exe starts like on Windows). A program still
// running when the object goes away is terminated, so a failing test leaves
// nothing behind.
class RunningProgram {
public:
    enum class Start { Running, Suspended };

    RunningProgram(const std::wstring& path, const std::wstring& arguments = L"",
                   const std::wstring& workingDir = L"", Start start = Start::Running);
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool Started() const { return static_cast<bool>(m_process); }
    DWORD ProcessId() const { return m_processId; }
    // Lets a program started suspended run.
    void Resume();
    HANDLE Process() const { return m_process.get(); }
    // True when the program ended within the time; its exit code is then ExitCode().
    bool WaitForExit(DWORD timeoutMs);
    bool IsRunning() const;
    DWORD ExitCode() const;

private:
    UniqueKernelHandle m_process;
    UniqueKernelHandle m_thread; // the first thread, while suspended
    DWORD m_processId = 0;
};

struct ProgramResult {
    bool started = false;
    bool finished = false;
    DWORD exitCode = STILL_ACTIVE;
};

// Starts a program and waits for it to end.
ProgramResult RunProgram(const std::wstring& path, const std::wstring& arguments = L"",
                         DWORD timeoutMs = 30000);
