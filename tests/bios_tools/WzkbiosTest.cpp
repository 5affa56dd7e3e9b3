// wzkbios.exe end to end: the simulator installed with regsvr32 and a
// scenario in the environment, as a technician would run it. What the
// firmware received comes from the simulator's request log; every bad
// command line must leave it empty.
#include "BiosToolsSupport.h"
#include "tests/support/RegistryProbe.h"
#include "tests/support/ScopedCurrentDirectory.h"
#include "tests/support/ScopedEnvironmentVariable.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

namespace {

const char kScenario[] = "[Request 0x10 2]\n"
                         "Data=0A 0B 0C 0D\n"
                         "[Request 17 1]\n"
                         "ReturnCode=5\n"
                         "[Default]\n"
                         "ReturnCode=-2\n";

const char kSuccess[] = "HRESULT      0x00000000 (Success.)\n";
const char kSeeHelp[] = " (see wzkbios --help)\n";
// Where the installer records the installation's folder.
const wchar_t kUninstallEntry[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Veltrane";

struct CallCase {
    const wchar_t* arguments;
    ToolRun expected;
};

std::string UsageError(const std::string& problem) {
    return "wzkbios: " + problem + kSeeHelp;
}

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
          std::string(kSuccess) +
              "Return code  0 (0x00000000)\n"
              "Output       4 bytes\n"
              "  0x0000  0a 0b 0c 0d                                      ....\n",
          "",
          "request command=16 (0x10) type=2 input=[01 02 FF] method=wzkBIOSInt4 -> returnCode=0 "
          "data=[0A 0B 0C 0D]\n"}},
        {L"call 17 1 --json",
         {1,
          "{\"hresult\":\"0x00000000\",\"message\":\"Success.\",\"returnCode\":5,\"output\":\"\"}"
          "\n",
          "",
          "request command=17 (0x11) type=1 input=[] method=wzkBIOSInt0 -> returnCode=5 "
          "data=[]\n"}},
        // The default answer has no bytes: the library reports 3, and says so.
        {L"call --out-size=4 -1 0x7 --in=41",
         {1,
          std::string(kSuccess) +
              "Return code  3 (0x00000003)\n"
              "Output       4 bytes\n"
              "  0x0000  00 00 00 00                                      ....\n"
              "Note         3 is also what wzkWmiBios reports when the firmware's answer did not "
              "have --out-size bytes; the output is then all zero\n",
          "",
          "request command=-1 (0xFFFFFFFF) type=7 input=[41] method=wzkBIOSInt4 -> returnCode=-2 "
          "data=[]\n"}},
        {L"call 1 2 --out-size 16 --json",
         {2, "{\"hresult\":\"0x80041002\",\"message\":null,\"returnCode\":-1,\"output\":null}\n",
          "", "failed: GetMethod wzkBIntM.wzkBIOSInt16 -> 0x80041002\n"}},
        {L"--version",
         {0, "wzkbios 1.0.0.0\nwzkWmiBios.dll: {bin}\\wzkWmiBios.dll, file version 1.0.0.0\n", "",
          ""}},
        {L"call 1 2 --in \"0 1\"",
         {64, "", UsageError("--in '0 1' has a byte with an odd number of hex digits"), ""}},
        {L"call 1 2 --in 0g",
         {64, "", UsageError("--in '0g' has a character that is not a hex digit"), ""}},
        {L"call 0x100000000 2", {64, "", UsageError("COMMAND '0x100000000' is out of range"), ""}},
        {L"call 1 2147483648", {64, "", UsageError("TYPE '2147483648' is out of range"), ""}},
        {L"call 1 2 --out-size 65537",
         {64, "", UsageError("--out-size '65537' is out of range (0 to 65536)"), ""}},
        {L"call 1 2 --verbose", {64, "", UsageError("unknown option '--verbose'"), ""}},
        {L"call 1 2 --in 01 --in 02", {64, "", UsageError("--in is given twice"), ""}},
        {L"call 1", {64, "", UsageError("call needs COMMAND and TYPE"), ""}},
        {L"", {64, "", UsageError("no command given"), ""}},
    };
    for (const CallCase& c : cases) {
        SCOPED_TRACE(Utf8(c.arguments));
        ToolRun expected = c.expected;
        expected.out = Replace(expected.out, "{bin}", Utf8(DeliverableDir()));
        EXPECT_EQ(expected, RunCapturing(DeliverablePath(L"wzkbios.exe"), c.arguments, m_scratch));
    }
}

TEST_F(WzkbiosTest, LoadsTheLibraryOnlyFromItsOwnOrTheInstallationFolder) {
    // A library planted in the current folder and on the path is never loaded.
    ScratchFolder planted(m_scratch / L"planted");
    planted.AddCopy(DeliverablePath(L"wzkFirmwareSim.dll"), L"wzkWmiBios.dll");
    ScopedCurrentDirectory current(planted.Path());
    ScopedEnvironmentVariable path(L"PATH", EnvironmentVariable(L"PATH") + L";" + planted.Path());
    struct LibraryCase {
        const wchar_t* beside;    // copied as wzkWmiBios.dll; null: none
        const wchar_t* installed; // the same into the recorded installation; "": none; null: none recorded
        ToolRun expected;
    };
    const char kVersion[] = "wzkbios 1.0.0.0\n";
    const LibraryCase cases[] = {
        {nullptr, nullptr,
         {2, kVersion,
          "wzkbios: cannot find wzkWmiBios.dll (looked in {dir}\\; no installation folder is "
          "recorded)\n",
          ""}},
        {nullptr, L"",
         {2, kVersion,
          "wzkbios: cannot find wzkWmiBios.dll (looked in {dir}\\ and in the installation folder "
          "{inst}\\)\n",
          ""}},
        {nullptr, L"wzkWmiBios.dll",
         {0, std::string(kVersion) + "wzkWmiBios.dll: {inst}\\wzkWmiBios.dll, file version 1.0.0.0\n",
          "", ""}},
        {L"wzkFirmwareSim.dll", L"wzkWmiBios.dll",
         {2, kVersion,
          "wzkbios: {dir}\\wzkWmiBios.dll has no export wzkCallBios: it is not a wzkWmiBios "
          "library\n",
          ""}},
    };
    for (const LibraryCase& c : cases) {
        SCOPED_TRACE(Utf8(c.beside != nullptr ? c.beside : L"-") + " " +
                     Utf8(c.installed != nullptr ? c.installed : L"(none recorded)"));
        ScratchFolder alone(m_scratch / L"alone");
        ScratchFolder installation(m_scratch / L"installation");
        ScratchKey entry(HKEY_LOCAL_MACHINE, kUninstallEntry);
        std::wstring program = alone.AddCopy(DeliverablePath(L"wzkbios.exe"), L"wzkbios.exe");
        if (c.beside != nullptr) {
            alone.AddCopy(DeliverablePath(c.beside), L"wzkWmiBios.dll");
        }
        if (c.installed != nullptr) {
            WriteRegistryText(HKEY_LOCAL_MACHINE, kUninstallEntry, L"InstallLocation",
                              installation.Path());
            if (*c.installed != L'\0') {
                installation.AddCopy(DeliverablePath(c.installed), L"wzkWmiBios.dll");
            }
        }
        ToolRun expected = c.expected;
        expected.out = Replace(expected.out, "{inst}", Utf8(installation.Path()));
        expected.err = Replace(Replace(expected.err, "{dir}", Utf8(alone.Path())), "{inst}",
                               Utf8(installation.Path()));
        EXPECT_EQ(expected, RunCapturing(program, L"--version", m_scratch));
    }
}

} // namespace
