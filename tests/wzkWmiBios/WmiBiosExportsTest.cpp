// The DLL's interface as client programs see it: the export table, the
// calling conventions of the exported members, the two trivial exports, and
// a client program linked against the header and the import library.
#include "common/ComApartment.h"
#include "tests/support/bios/FirmwareSimulator.h"
#include "tests/support/bios/WzkWmiBiosDll.h"

#include "tests/support/PeImage.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/ScopedEnvironmentVariable.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// What each build exports: the 64-bit one has no decorated C++ names.
#ifdef _WIN64
const std::vector<std::string> kExportedNames = {"wzkCallBios"};
#else
const std::vector<std::string> kExportedNames = {
    "??0CwzkWmiBios@@QAE@XZ", "??4CwzkWmiBios@@QAEAAV0@ABV0@@Z", "?fnwzkWmiBios@@YAHXZ",
    "?nwzkWmiBios@@3HA", "wzkCallBios"};

struct ThiscallOutcome {
    void* returned;   // EAX after the call
    long stackChange; // ESP after the call minus ESP before it
};

// Calls fn the way code from the platform's standard compiler calls a member
// function: this in ECX, arguments on the stack, popped by the callee.
__attribute__((noinline)) ThiscallOutcome CallThiscall(FARPROC fn, void* self, const void* argument,
                                                       bool hasArgument) {
    void* returned = nullptr;
    long change = 0;
    if (hasArgument) {
        asm volatile("movl %%esp, %%edi\n\t"
                     "pushl %[argument]\n\t"
                     "call *%[fn]\n\t"
                     "movl %%esp, %%esi\n\t"
                     "subl %%edi, %%esi\n\t"
                     "movl %%edi, %%esp\n\t"
                     : "=a"(returned), "=S"(change), "+c"(self)
                     : [fn] "b"(fn), [argument] "d"(argument)
                     : "edi", "memory", "cc");
    } else {
        asm volatile("movl %%esp, %%edi\n\t"
                     "call *%[fn]\n\t"
                     "movl %%esp, %%esi\n\t"
                     "subl %%edi, %%esi\n\t"
                     "movl %%edi, %%esp\n\t"
                     : "=a"(returned), "=S"(change), "+c"(self)
                     : [fn] "b"(fn)
                     : "edi", "edx", "memory", "cc");
    }
    return {returned, change};
}
#endif

class WmiBiosExportsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dll.Loaded()) << "wzkWmiBios.dll did not load"; }

    WzkWmiBiosDll m_dll;
};

TEST_F(WmiBiosExportsTest, ExportsExactlyItsNames) {
    PeImage image = ReadPeImage(DeliverablePath(L"wzkWmiBios.dll"));
    ASSERT_TRUE(image.valid);
    std::vector<std::string> names = image.exportedNames;
    std::sort(names.begin(), names.end());
    EXPECT_EQ(kExportedNames, names);
}

#ifndef _WIN64

TEST_F(WmiBiosExportsTest, FunctionReturns42AndVariableReadsZero) {
    auto fn =
        reinterpret_cast<int (*)()>(reinterpret_cast<void*>(m_dll.Export("?fnwzkWmiBios@@YAHXZ")));
    auto variable =
        reinterpret_cast<const int*>(reinterpret_cast<void*>(m_dll.Export("?nwzkWmiBios@@3HA")));
    ASSERT_NE(nullptr, fn);
    ASSERT_NE(nullptr, variable);
    EXPECT_EQ(42, fn());
    EXPECT_EQ(0, *variable);
}

TEST_F(WmiBiosExportsTest, ConstructorTakesThisInEcxAndReturnsIt) {
    FARPROC constructor = m_dll.Export("??0CwzkWmiBios@@QAE@XZ");
    ASSERT_NE(nullptr, constructor);
    BYTE object[8] = {0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8};
    const std::vector<BYTE> before(object, object + sizeof object);
    ThiscallOutcome outcome = CallThiscall(constructor, object, nullptr, false);
    EXPECT_EQ(static_cast<void*>(object), outcome.returned);
    EXPECT_EQ(0, outcome.stackChange);
    EXPECT_EQ(before, std::vector<BYTE>(object, object + sizeof object));
}

TEST_F(WmiBiosExportsTest, AssignmentCopiesNothingAndReturnsTheTarget) {
    FARPROC assignment = m_dll.Export("??4CwzkWmiBios@@QAEAAV0@ABV0@@Z");
    ASSERT_NE(nullptr, assignment);
    BYTE target[4] = {0x10, 0x20, 0x30, 0x40};
    const BYTE source[4] = {0x99, 0x98, 0x97, 0x96};
    ThiscallOutcome outcome = CallThiscall(assignment, target, source, true);
    EXPECT_EQ(static_cast<void*>(target), outcome.returned);
    // The callee pops its one argument, as thiscall asks.
    EXPECT_EQ(0, outcome.stackChange);
    EXPECT_EQ((std::vector<BYTE>{0x10, 0x20, 0x30, 0x40}), std::vector<BYTE>(target, target + 4));
    EXPECT_EQ((std::vector<BYTE>{0x99, 0x98, 0x97, 0x96}), std::vector<BYTE>(source, source + 4));
}

#endif

TEST(WmiBiosImportLibraryTest, ClientLinkedAgainstTheImportLibraryRuns) {
    FirmwareSimRegistration registration;
    // The client finds the DLL through PATH, like an installed client would.
    ScopedEnvironmentVariable path(L"PATH", DeliverableDir() + L";" + EnvironmentVariable(L"PATH"));
    ProgramResult run = RunProgram(TestProgramPath(L"wzkbios_import_client.exe"));
    ASSERT_TRUE(run.started);
    ASSERT_TRUE(run.finished);
    // Exit code bits (the client prints details): 1 HRESULT, 2 return code,
    // 4 output bytes, 8 fnwzkWmiBios, 16 nwzkWmiBios, 32 assignment result.
    EXPECT_EQ(0u, run.exitCode);
}

TEST(WmiBiosImportLibraryTest, ClientOfThePlatformsStandardAbiRuns) {
    // The client finds the DLL through PATH, like an installed client would.
    ScopedEnvironmentVariable path(L"PATH", DeliverableDir() + L";" + EnvironmentVariable(L"PATH"));
    ProgramResult run = RunProgram(TestProgramPath(L"wzkbios_msvc_client.exe"));
    ASSERT_TRUE(run.started);
    ASSERT_TRUE(run.finished);
    // Exit code bits: 1 assignment result, 2 HRESULT, 4 return code, 8 output
    // buffer, 16 fnwzkWmiBios, 32 nwzkWmiBios.
    EXPECT_EQ(0u, run.exitCode);
}

} // namespace
