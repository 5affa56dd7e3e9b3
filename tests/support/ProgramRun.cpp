#include "ProgramRun.h"

#include "Waiting.h"

#include <vector>

RunningProgram::RunningProgram(const std::wstring& path, const std::wstring& arguments,
                               const std::wstring& workingDir, Start start) {
    std::wstring commandLine = L"\"" + path + L"\"";
    if (!arguments.empty()) {
        commandLine += L" " + arguments;
    }
    std::vector<wchar_t> mutableLine(commandLine.begin(), commandLine.end());
    mutableLine.push_back(L'\0');
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    const DWORD flags = start == Start::Suspended ? CREATE_SUSPENDED : 0;
    if (::CreateProcessW(path.c_str(), mutableLine.data(), nullptr, nullptr, FALSE, flags, nullptr,
                         workingDir.empty() ? nullptr : workingDir.c_str(), &startup, &info)) {
        m_thread.reset(info.hThread);
        if (start == Start::Running) {
            m_thread.reset();
        }
        m_process.reset(info.hProcess);
        m_processId = info.dwProcessId;
    }
}

void RunningProgram::Resume() {
    if (m_thread) {
        ::ResumeThread(m_thread.get());
    }
    m_thread.reset();
}

RunningProgram::~RunningProgram() {
    if (IsRunning()) {
        ::TerminateProcess(m_process.get(), 1);
        ::WaitForSingleObject(m_process.get(), TimeLimit(5000));
    }
}

bool RunningProgram::WaitForExit(DWORD timeoutMs) {
    return m_process &&
           ::WaitForSingleObject(m_process.get(), TimeLimit(timeoutMs)) == WAIT_OBJECT_0;
}

bool RunningProgram::IsRunning() const {
    return m_process && ::WaitForSingleObject(m_process.get(), 0) == WAIT_TIMEOUT;
}

DWORD RunningProgram::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (m_process) {
        ::GetExitCodeProcess(m_process.get(), &code);
    }
    return code;
}

ProgramResult RunProgram(const std::wstring& path, const std::wstring& arguments, DWORD timeoutMs) {
    ProgramResult result;
    RunningProgram program(path, arguments);
    result.started = program.Started();
    result.finished = program.WaitForExit(timeoutMs);
    if (result.finished) {
        result.exitCode = program.ExitCode();
    }
    return result;
}
