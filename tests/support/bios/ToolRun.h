// Console programs run as a technician runs them, with their output
// captured, and the simulator installed by regsvr32.
#pragma once

#include "tests/support/ScratchFolder.h"

#include <windows.h>

#include <ostream>
#include <string>

// What a console program did: its exit code, its output and error text (line
// ends as "\n"), and the simulator's request log of the run.
struct ToolRun {
    DWORD exitCode = STILL_ACTIVE;
    std::string out;
    std::string err;
    std::string firmwareLog;

    bool operator==(const ToolRun& other) const {
        return exitCode == other.exitCode && out == other.out && err == other.err &&
               firmwareLog == other.firmwareLog;
    }
};
void PrintTo(const ToolRun& run, std::ostream* os);

// Runs `program arguments` with standard output and error in files of
// `scratch`; the request log is the file WZK_FIRMWARE_SIM_LOG names (read,
// then deleted).
ToolRun RunCapturing(const std::wstring& program, const std::wstring& arguments,
                     const ScratchFolder& scratch);

// `regsvr32 /s [/u] build\bin\wzkFirmwareSim.dll`; its exit code.
DWORD RunRegsvr32(bool unregister);

// The simulator installed as a client developer installs it, and removed again.
class InstalledSimulator {
public:
    InstalledSimulator();
    ~InstalledSimulator();
    InstalledSimulator(const InstalledSimulator&) = delete;
    InstalledSimulator& operator=(const InstalledSimulator&) = delete;
};
