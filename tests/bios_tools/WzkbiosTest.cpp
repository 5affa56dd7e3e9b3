// wzkbios.exe end to end, the wiring only (its parts are tested in-process in
// WzkbiosPartsTest.cpp): the simulator installed with regsvr32 and a scenario
// in the environment, as a technician would run it. What the firmware
// received comes from the simulator's request log; a bad command line must
// leave it empty.
#include "tests/support/bios/ToolRun.h"
#include "common/ProductVersion.h"
#include "tests/support/RegistryProbe.h"
#include "tests/support/ScopedCurrentDirectory.h"
#include "tests/support/ScopedEnvironmentVariable.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

namespace {

const char kScenario[] = "[Request 0x10 2]\nData=0A 0B 0C 0D\n";
// Where the installer records the installation's folder.
const wchar_t kUninstallEntry[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Veltrane";

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
    const char kVersion[] = "wzkbios " PRODUCT_VERSION_TEXT "\n";
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
         {0, std::string(kVersion) + "wzkWmiBios.dll: {inst}\\wzkWmiBios.dll, file version " PRODUCT_VERSION_TEXT "\n",
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
