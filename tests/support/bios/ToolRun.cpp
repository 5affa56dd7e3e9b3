#include "ToolRun.h"

#include "common/UniqueHandle.h"
#include "tests/support/FileContents.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/ScopedEnvironmentVariable.h"
#include "tests/support/TestPaths.h"
#include "tests/support/Waiting.h"

#include <gtest/gtest.h>

namespace {

const wchar_t kLogVariable[] = L"WZK_FIRMWARE_SIM_LOG";

UniqueFile InheritableFile(const std::wstring& path) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    return UniqueFile(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

} // namespace

void PrintTo(const ToolRun& run, std::ostream* os) {
    *os << "exit " << run.exitCode << "\n--- out:\n"
        << run.out << "--- err:\n"
        << run.err << "--- firmware log:\n"
        << run.firmwareLog;
}

ToolRun RunCapturing(const std::wstring& program, const std::wstring& arguments,
                     const ScratchFolder& scratch) {
    ToolRun run;
    const std::wstring outPath = scratch / L"out.txt";
    const std::wstring errPath = scratch / L"err.txt";
    {
        UniqueFile out = InheritableFile(outPath);
        UniqueFile err = InheritableFile(errPath);
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = out.get();
        startup.hStdError = err.get();
        std::wstring line = L"\"" + program + L"\" " + arguments;
        PROCESS_INFORMATION info = {};
        if (!::CreateProcessW(program.c_str(), &line[0], nullptr, nullptr, TRUE, 0, nullptr,
                              nullptr, &startup, &info)) {
            ADD_FAILURE() << "cannot start " << Utf8(program);
            return run;
        }
        UniqueKernelHandle process(info.hProcess);
        UniqueKernelHandle thread(info.hThread);
        if (::WaitForSingleObject(process.get(), TimeLimit(30000)) != WAIT_OBJECT_0) {
            ::TerminateProcess(process.get(), 1);
            ADD_FAILURE() << Utf8(program) << " did not end";
        }
        ::GetExitCodeProcess(process.get(), &run.exitCode);
    }
    run.out = TextOf(outPath);
    run.err = TextOf(errPath);
    std::wstring logPath = EnvironmentVariable(kLogVariable);
    run.firmwareLog = TextOf(logPath);
    ::DeleteFileW(logPath.c_str());
    return run;
}

DWORD RunRegsvr32(bool unregister) {
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    std::wstring arguments = unregister ? L"/s /u \"" : L"/s \"";
    ProgramResult result = RunProgram(std::wstring(system) + L"\\regsvr32.exe",
                                      arguments + DeliverablePath(L"wzkFirmwareSim.dll") + L"\"");
    return result.finished ? result.exitCode : STILL_ACTIVE;
}

InstalledSimulator::InstalledSimulator() {
    EXPECT_EQ(0u, RunRegsvr32(false)) << "regsvr32 wzkFirmwareSim.dll";
}

InstalledSimulator::~InstalledSimulator() {
    EXPECT_EQ(0u, RunRegsvr32(true)) << "regsvr32 /u wzkFirmwareSim.dll";
}
