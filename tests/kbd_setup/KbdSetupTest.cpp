// Runs the real kbdsetup.exe in the prefix and reads back what it wrote,
// byte for byte, through the ANSI registry functions it uses itself.
#include "tests/support/ProgramRun.h"
#include "tests/support/RegistryProbe.h"
#include "tests/support/TestPaths.h"
#include "common/UniqueHandle.h"

#include <gtest/gtest.h>

namespace {

const wchar_t kKeyW[] = L"SYSTEM\\CurrentControlSet\\Services\\i8042prt\\Parameters";
const char kKeyA[] = "SYSTEM\\CurrentControlSet\\Services\\i8042prt\\Parameters";

class KbdSetupTest : public ::testing::Test {
protected:
    ScratchKey m_key{HKEY_LOCAL_MACHINE, kKeyW};

    static void RunKbdSetup() {
        ProgramResult run = RunProgram(DeliverablePath(L"kbdsetup.exe"));
        ASSERT_TRUE(run.started) << "could not start kbdsetup.exe";
        ASSERT_TRUE(run.finished) << "kbdsetup.exe did not end";
        EXPECT_EQ(0u, run.exitCode);
    }

    // Read through the single-byte functions kbdsetup uses itself; the
    // texts' sizes count their terminating NUL.
    static RegistryValue Read(const char* name) {
        return ReadRegistryValueA(HKEY_LOCAL_MACHINE, kKeyA, name);
    }

    static void ExpectThreeValues() {
        EXPECT_EQ(AnsiTextValue("KBD106.DLL"), Read("LayerDriver JPN"));
        EXPECT_EQ(AnsiTextValue("PCAT_106KEY"), Read("OverrideKeyboardIdentifier"));
        EXPECT_EQ(DwordValue(2), Read("OverrideKeyboardSubtype"));
    }
};

TEST_F(KbdSetupTest, WritesTheThreeValuesWithExactTypesAndSizes) {
    RunKbdSetup();
    ExpectThreeValues();
    // Read through the wide functions the texts are the same, two bytes a unit.
    EXPECT_EQ(TextValue(L"KBD106.DLL"),
              ReadRegistryValue(HKEY_LOCAL_MACHINE, kKeyW, L"LayerDriver JPN"));
    EXPECT_EQ(3u, RegistryValueNames(HKEY_LOCAL_MACHINE, kKeyW).size());
}

TEST_F(KbdSetupTest, CreatesTheKeyToLastAcrossRestarts) {
    ASSERT_FALSE(Read("LayerDriver JPN").exists);
    RunKbdSetup();
    // Only a volatile key (gone at the next start) refuses a lasting subkey.
    UniqueRegKey child;
    EXPECT_EQ(ERROR_SUCCESS,
              ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, (std::wstring(kKeyW) + L"\\Lasting").c_str(), 0,
                                nullptr, REG_OPTION_NON_VOLATILE, KEY_READ, nullptr, child.put(),
                                nullptr));
}

TEST_F(KbdSetupTest, KeepsOtherValuesAndOverwritesItsOwn) {
    const BYTE binary[] = {1, 2, 3, 0, 0xFF};
    WriteRegistryDword(HKEY_LOCAL_MACHINE, kKeyW, L"PollStatusIterations", 1);
    WriteRegistryText(HKEY_LOCAL_MACHINE, kKeyW, L"KeyboardDataQueueSize", L"100 keys");
    WriteRegistryBytes(HKEY_LOCAL_MACHINE, kKeyW, L"ResendIterations", REG_BINARY, binary,
                       sizeof binary);
    WriteRegistryText(HKEY_LOCAL_MACHINE, kKeyW, L"LayerDriver JPN", L"KBD101.DLL with more");
    WriteRegistryText(HKEY_LOCAL_MACHINE, kKeyW, L"OverrideKeyboardSubtype", L"text, not a number");

    RunKbdSetup();

    ExpectThreeValues();
    EXPECT_EQ(DwordValue(1), Read("PollStatusIterations"));
    EXPECT_EQ(AnsiTextValue("100 keys"), Read("KeyboardDataQueueSize"));
    RegistryValue resend = ReadRegistryValue(HKEY_LOCAL_MACHINE, kKeyW, L"ResendIterations");
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), resend.type);
    EXPECT_EQ(std::vector<BYTE>(binary, binary + sizeof binary), resend.data);
    EXPECT_EQ(6u, RegistryValueNames(HKEY_LOCAL_MACHINE, kKeyW).size());
}

TEST_F(KbdSetupTest, RunningTwiceLeavesTheSameState) {
    RunKbdSetup();
    RunKbdSetup();
    ExpectThreeValues();
    EXPECT_EQ(3u, RegistryValueNames(HKEY_LOCAL_MACHINE, kKeyW).size());
}

// A volatile service key refuses the lasting Parameters key under it, so no
// value can be written: the exit code says so.
TEST_F(KbdSetupTest, ExitsWithTheRegistryErrorWhenItCannotWrite) {
    ScratchKey service{HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Services\\i8042prt"};
    UniqueRegKey volatileService;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, service.Path().c_str(), 0,
                                               nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                                               nullptr, volatileService.put(), nullptr));
    ProgramResult run = RunProgram(DeliverablePath(L"kbdsetup.exe"));
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(static_cast<DWORD>(ERROR_CHILD_MUST_BE_VOLATILE), run.exitCode);
    EXPECT_FALSE(Read("LayerDriver JPN").exists);
}

TEST_F(KbdSetupTest, IgnoresArgumentsAndExitsWithZero) {
    ProgramResult run = RunProgram(DeliverablePath(L"kbdsetup.exe"), L"/uninstall --help 42");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(0u, run.exitCode);
    ExpectThreeValues();
}

} // namespace
