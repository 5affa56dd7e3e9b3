// wzkbios.exe end to end, the wiring only (its parts are tested in-process in
// WzkbiosPartsTest.cpp): the simulator installed with regsvr32 and a scenario
// in the environment, as a technician would run it. What the firmware
// received comes from the simulator's request log; a bad command line must
// leave it empty.
#include "BiosToolsSupport.h"
#include "tests/support/ScopedEnvironmentVariable.h"

#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

namespace {

const char kScenario[] = "[Request 0x10 2]\nData=0A 0B 0C 0D\n";

struct CallCase {
    const wchar_t* arguments;
    ToolRun expected;
};

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    size_t at = text.find(from);
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

class WzkbiosTest : public ::testing::Test {
protected:
    ScratchFolder m_scratch{TestProgramDir() + L"\\scratch_wzkbios"};
    ScopedEnvironmentVariable m_scenario{L"WZK_FIRMWARE_SIM_SCENARIO",
                                         m_scratch.AddFile(L"scenario.ini", kScenario)};
    ScopedEnvironmentVariable m_log{L"WZK_FIRMWARE_SIM_LOG", m_scratch / L"requests.log"};
};

TEST_F(WzkbiosTest, CallsTheFirmwareAndReportsWhatItSaid) {
    InstalledSimulator simulator;
    const CallCase cases[] = {
        {L"call 0x10 2 --in \"01 02 ff\" --out-size 4",
         {0,
          "HRESULT      0x00000000 (Success.)\n"
          "Return code  0 (0x00000000)\n"
          "Output       4 bytes\n"
          "  0x0000  0a 0b 0c 0d                                      ....\n",
          "",
          "request command=16 (0x10) type=2 input=[01 02 FF] method=wzkBIOSInt4 -> returnCode=0 "
          "data=[0A 0B 0C 0D]\n"}},
        {L"call 1", {64, "", "wzkbios: call needs COMMAND and TYPE (see wzkbios --help)\n", ""}},
    };
    for (const CallCase& c : cases) {
        SCOPED_TRACE(Utf8(c.arguments));
        EXPECT_EQ(c.expected,
                  RunCapturing(DeliverablePath(L"wzkbios.exe"), c.arguments, m_scratch));
    }
}

TEST_F(WzkbiosTest, SaysWhenTheLibraryCannotBeUsed) {
    struct LibraryCase {
        const wchar_t* libraryBeside; // copied as wzkWmiBios.dll; null: none
        const char* error;
    };
    const LibraryCase cases[] = {
        {nullptr, "wzkbios: cannot load wzkWmiBios.dll: Module not found. (looked in {dir}\\ and "
                  "on the DLL search path)\n"},
    };
    for (const LibraryCase& c : cases) {
        SCOPED_TRACE(c.libraryBeside != nullptr ? Utf8(c.libraryBeside) : "no library");
        ScratchFolder alone(m_scratch / L"alone");
        std::wstring program = alone.AddCopy(DeliverablePath(L"wzkbios.exe"), L"wzkbios.exe");
        if (c.libraryBeside != nullptr) {
            alone.AddCopy(DeliverablePath(c.libraryBeside), L"wzkWmiBios.dll");
        }
        EXPECT_EQ((ToolRun{2, "", Replace(c.error, "{dir}", Utf8(alone.Path())), ""}),
                  RunCapturing(program, L"call 1 2", m_scratch));
    }
}

} // namespace
