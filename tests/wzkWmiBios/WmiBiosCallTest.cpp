// wzkCallBios of the real DLL against the firmware simulator: what reaches
// the firmware, in which order, what comes back to the caller, and that every
// object handed out is released again.
#include "common/ComApartment.h"
#include "tests/support/bios/FirmwareSimulator.h"
#include "tests/support/bios/WzkWmiBiosDll.h"

#include "tests/support/RegistryProbe.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <wbemcli.h>

#include <thread>

namespace {

const LONG kCommand = 0x1234;
const LONG kCommandType = 2;
const BYTE kGuard = 0xEE;
const char kInstancePath[] = "\\\\SIM\\root\\wmi:wzkBIntM.InstanceName=\"ACPI\\\\PNP0C14\\\\0_0\"";

std::string Hex(HRESULT hr) {
    char text[16];
    snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

std::string ByteList(const std::vector<BYTE>& bytes) {
    if (bytes.empty()) {
        return "(no array)";
    }
    std::string text = "[";
    for (size_t i = 0; i < bytes.size(); ++i) {
        char number[4];
        snprintf(number, sizeof number, "%02X", bytes[i]);
        text += (i == 0 ? "" : " ") + std::string(number);
    }
    return text + "]";
}

// Every request of one complete call, in order.
std::vector<std::string> FullRequest(LONG command, LONG commandType, const std::vector<BYTE>& input,
                                     ULONG outputSize) {
    std::string method = "wzkBIOSInt" + std::to_string(outputSize);
    std::vector<std::string> lines = {
        "CreateInstance WbemLocator",
        "ConnectServer \\\\.\\root\\wmi",
        "GetObject wzkBIntM",
        "GetMethod wzkBIntM." + method,
        "SpawnInstance " + method + ".In",
        "GetObject wzkBDataIn",
        "SpawnInstance wzkBDataIn",
        "Put wzkBDataIn().Sign VT_ARRAY|VT_UI1 [53 45 43 55]",
        "Put wzkBDataIn().Command VT_I4 " + std::to_string(command),
        "Put wzkBDataIn().CommandType VT_I4 " + std::to_string(commandType),
        "Put wzkBDataIn().Size VT_I4 " + std::to_string(input.size()),
        "Put wzkBDataIn().wzkBData VT_ARRAY|VT_UI1 " + ByteList(input),
        "Put " + method + ".In().InData VT_UNKNOWN wzkBDataIn()",
        "CreateInstanceEnum wzkBIntM flags=0x30",
        "Next wzkBIntM timeout=2000 count=1",
        "Get wzkBIntM(0).__PATH",
        "ExecMethod " + std::string(kInstancePath) + " " + method + " " + method + ".In()",
        "Get " + method + ".Out().OutData",
        "Get wzkBDataOut().rwReturnCode",
    };
    if (outputSize != 0) {
        lines.push_back("Get wzkBDataOut().Data");
    }
    return lines;
}

// The requests up to the one starting with `step`, which failed with hr.
std::vector<std::string> RequestUpTo(std::vector<std::string> lines, const std::string& step,
                                     HRESULT hr) {
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].compare(0, step.size(), step) == 0) {
            lines.resize(i + 1);
            lines.back() += " -> " + Hex(hr);
            return lines;
        }
    }
    ADD_FAILURE() << "no request starts with " << step;
    return lines;
}

struct CallResult {
    HRESULT hr = E_FAIL;
    LONG returnCode = 12345;
    std::vector<BYTE> output; // the output bytes with two guard bytes either side
};

class WmiBiosCallTest : public ::testing::Test {
protected:
    void SetUp() override {
        FirmwareSim_Reset();
        ASSERT_TRUE(m_dll.Loaded()) << "wzkWmiBios.dll did not load";
        ASSERT_NE(nullptr, m_dll.CallBios());
    }

    void TearDown() override {
        EXPECT_EQ(0, FirmwareSim_LiveObjects()) << "still referenced:\n" << SimLiveObjects();
        EXPECT_EQ(0, FirmwareSim_OverReleases());
    }

    static FirmwareSimConfig& Sim() { return *FirmwareSim_Config(); }

    static void FailAt(const char* step, HRESULT failure) {
        snprintf(Sim().failAt, sizeof Sim().failAt, "%s", step);
        Sim().failure = failure;
    }

    CallResult Call(const std::vector<BYTE>& input, ULONG outputSize, LONG command = kCommand,
                    LONG commandType = kCommandType) const {
        CallResult result;
        result.output.assign(outputSize + 4, kGuard);
        result.hr =
            m_dll.CallBios()(command, commandType, static_cast<ULONG>(input.size()), outputSize,
                             &result.returnCode, input.empty() ? nullptr : input.data(),
                             outputSize == 0 ? nullptr : result.output.data() + 2);
        return result;
    }

    static std::vector<BYTE> Untouched(ULONG outputSize) {
        return std::vector<BYTE>(outputSize + 4, kGuard);
    }

    static std::vector<BYTE> Guarded(const std::vector<BYTE>& bytes) {
        std::vector<BYTE> guarded = {kGuard, kGuard};
        guarded.insert(guarded.end(), bytes.begin(), bytes.end());
        guarded.insert(guarded.end(), 2, kGuard);
        return guarded;
    }

    FirmwareSimRegistration m_registration;
    ComApartment m_com;
    WzkWmiBiosDll m_dll;
};

TEST_F(WmiBiosCallTest, SendsTheRequestInOrderAndHandsBackTheAnswer) {
    std::vector<BYTE> input = {0x01, 0x02, 0x03, 0x04};
    CallResult result = Call(input, 4);
    EXPECT_EQ(S_OK, result.hr);
    EXPECT_EQ(FullRequest(kCommand, kCommandType, input, 4), SimLog());
    // The simulator answers with the command as return code and echoes the input.
    EXPECT_EQ(kCommand, result.returnCode);
    EXPECT_EQ(Guarded(input), result.output);
}

TEST_F(WmiBiosCallTest, CopiesExactlyTheAnsweredBytesOfTheExpectedLength) {
    Sim().echo = FALSE;
    Sim().returnCode = 0x55;
    const BYTE answer[] = {0xDE, 0xAD, 0xBE, 0xEF};
    memcpy(Sim().data, answer, sizeof answer);
    Sim().dataSize = sizeof answer;
    CallResult result = Call({9}, 4);
    EXPECT_EQ(S_OK, result.hr);
    EXPECT_EQ(0x55, result.returnCode);
    EXPECT_EQ(Guarded({0xDE, 0xAD, 0xBE, 0xEF}), result.output);
}

TEST_F(WmiBiosCallTest, OutputSizeZeroRunsMethodZeroAndReadsNoData) {
    Sim().echo = FALSE;
    Sim().returnCode = 7;
    CallResult result = Call({0xA0, 0xA1}, 0);
    EXPECT_EQ(S_OK, result.hr);
    EXPECT_EQ(7, result.returnCode);
    EXPECT_EQ(FullRequest(kCommand, kCommandType, {0xA0, 0xA1}, 0), SimLog());
    EXPECT_EQ(Untouched(0), result.output);
}

TEST_F(WmiBiosCallTest, InputSizeZeroSendsSizeZeroAndNoArray) {
    CallResult result = Call({}, 0);
    EXPECT_EQ(S_OK, result.hr);
    std::vector<std::string> log = SimLog();
    EXPECT_EQ(FullRequest(kCommand, kCommandType, {}, 0), log);
    ASSERT_GT(log.size(), 11u);
    EXPECT_EQ("Put wzkBDataIn().Size VT_I4 0", log[10]);
    EXPECT_EQ("Put wzkBDataIn().wzkBData VT_ARRAY|VT_UI1 (no array)", log[11]);
}

TEST_F(WmiBiosCallTest, MethodNameFollowsTheOutputSize) {
    // 128 is one of the firmware's own methods, 16 one configured for the test.
    for (ULONG size : {128u, 16u}) {
        FirmwareSim_Reset();
        Sim().extraMethodSizes[0] = 16;
        Sim().extraMethodCount = 1;
        std::vector<BYTE> input(size, 0x5A);
        CallResult result = Call(input, size);
        EXPECT_EQ(S_OK, result.hr) << size;
        EXPECT_EQ(FullRequest(kCommand, kCommandType, input, size), SimLog()) << size;
        EXPECT_EQ(Guarded(input), result.output) << size;
    }
}

TEST_F(WmiBiosCallTest, SizeWithoutMethodFailsAtTheMethodLookup) {
    CallResult result = Call({1}, 5);
    EXPECT_EQ(WBEM_E_NOT_FOUND, result.hr);
    EXPECT_EQ(-1, result.returnCode);
    EXPECT_EQ(
        RequestUpTo(FullRequest(kCommand, kCommandType, {1}, 5), "GetMethod", WBEM_E_NOT_FOUND),
        SimLog());
    EXPECT_EQ(Untouched(5), result.output);
}

TEST_F(WmiBiosCallTest, SignIsAlwaysSecuWhateverTheCommand) {
    for (LONG command : {0L, -1L, 0x7FFFFFFFL, 0x53454355L}) {
        FirmwareSim_Reset();
        Call({}, 0, command, command);
        std::vector<std::string> log = SimLog();
        ASSERT_GT(log.size(), 8u);
        EXPECT_EQ("Put wzkBDataIn().Sign VT_ARRAY|VT_UI1 [53 45 43 55]", log[7]) << command;
        EXPECT_EQ("Put wzkBDataIn().Command VT_I4 " + std::to_string(command), log[8]);
    }
}

TEST_F(WmiBiosCallTest, AnswerOfAnotherLengthLeavesTheBufferAndReportsThree) {
    Sim().echo = FALSE;
    Sim().returnCode = 0;
    Sim().dataSize = 8;
    memset(Sim().data, 0x11, 8);
    CallResult result = Call({1, 2, 3, 4}, 4);
    EXPECT_EQ(S_OK, result.hr);
    EXPECT_EQ(3, result.returnCode);
    EXPECT_EQ(Untouched(4), result.output);
}

TEST_F(WmiBiosCallTest, AnswerOfAnotherTypeLeavesTheBufferAndReportsThree) {
    // Elements wider than a byte must not be copied into the byte buffer,
    // also when the array is tagged as bytes.
    const struct {
        VARTYPE type;
        BOOL wideElements;
    } cases[] = {
        {VT_ARRAY | VT_I4, FALSE}, {VT_ARRAY | VT_UI1, TRUE}, {VT_BSTR, FALSE}, {VT_NULL, FALSE}};
    for (const auto& c : cases) {
        SCOPED_TRACE("Data type " + std::to_string(c.type) + (c.wideElements ? ", wide" : ""));
        FirmwareSim_Reset();
        Sim().dataType = c.type;
        Sim().dataWideElements = c.wideElements;
        CallResult result = Call({1, 2, 3, 4}, 4);
        EXPECT_EQ(S_OK, result.hr);
        EXPECT_EQ(3, result.returnCode);
        EXPECT_EQ(Untouched(4), result.output);
    }
}

TEST_F(WmiBiosCallTest, WithoutInstanceTheMethodRunsWithoutPath) {
    Sim().instancePresent = FALSE;
    CallResult result = Call({1, 2, 3, 4}, 4);
    // The simulated provider refuses a call without object path, as WMI does.
    EXPECT_EQ(WBEM_E_INVALID_OBJECT_PATH, result.hr);
    EXPECT_EQ(-1, result.returnCode);
    EXPECT_EQ(Untouched(4), result.output);
    std::vector<std::string> expected = FullRequest(kCommand, kCommandType, {1, 2, 3, 4}, 4);
    expected.resize(15); // up to Next, which finds nothing
    expected.push_back("ExecMethod (no path) wzkBIOSInt4 wzkBIOSInt4.In() -> " +
                       Hex(WBEM_E_INVALID_OBJECT_PATH));
    EXPECT_EQ(expected, SimLog());
}

// One failing step each: its HRESULT comes back unchanged, the return code is
// -1, the buffer is untouched and nothing is sent after it.
class WmiBiosFailingStepTest : public WmiBiosCallTest,
                               public ::testing::WithParamInterface<const char*> {};

TEST_P(WmiBiosFailingStepTest, EndsTheCallWithThatStepsResult) {
    const HRESULT failure = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x7701);
    FailAt(GetParam(), failure);
    std::vector<BYTE> input = {1, 2, 3, 4};
    CallResult result = Call(input, 4);
    EXPECT_EQ(Hex(failure), Hex(result.hr));
    EXPECT_EQ(-1, result.returnCode);
    EXPECT_EQ(Untouched(4), result.output);
    EXPECT_EQ(RequestUpTo(FullRequest(kCommand, kCommandType, input, 4), GetParam(), failure),
              SimLog());
}

INSTANTIATE_TEST_SUITE_P(
    Steps, WmiBiosFailingStepTest,
    ::testing::Values("CreateInstance WbemLocator", "ConnectServer", "GetObject wzkBIntM",
                      "GetMethod", "SpawnInstance wzkBIOSInt4.In", "GetObject wzkBDataIn",
                      "SpawnInstance wzkBDataIn", "Put wzkBDataIn().Sign",
                      "Put wzkBDataIn().Command ", "Put wzkBDataIn().CommandType",
                      "Put wzkBDataIn().Size", "Put wzkBDataIn().wzkBData",
                      "Put wzkBIOSInt4.In().InData", "CreateInstanceEnum", "Next",
                      "Get wzkBIntM(0).__PATH", "ExecMethod", "Get wzkBIOSInt4.Out().OutData",
                      "Get wzkBDataOut().rwReturnCode", "Get wzkBDataOut().Data"),
    [](const ::testing::TestParamInfo<const char*>& info) {
        std::string name;
        for (const char* c = info.param; *c != '\0'; ++c) {
            if (isalnum(static_cast<unsigned char>(*c))) {
                name += *c;
            }
        }
        return name;
    });

// Answers without a usable result object: the call fails with the documented
// HRESULT, and the answer is not looked at any further.
TEST_F(WmiBiosCallTest, MissingOutputObjectFailsWithUnexpected) {
    Sim().outParamsPresent = FALSE;
    CallResult result = Call({1, 2, 3, 4}, 4);
    EXPECT_EQ(E_UNEXPECTED, result.hr);
    EXPECT_EQ(-1, result.returnCode);
    EXPECT_EQ(Untouched(4), result.output);
    std::vector<std::string> expected = FullRequest(kCommand, kCommandType, {1, 2, 3, 4}, 4);
    expected.resize(17); // ends with ExecMethod
    EXPECT_EQ(expected, SimLog());
}

TEST_F(WmiBiosCallTest, OutDataWithoutObjectFailsWithTypeMismatch) {
    struct Case {
        VARTYPE type;
        BOOL nullObject;
    };
    for (Case c : {Case{VT_EMPTY, FALSE}, Case{VT_NULL, FALSE}, Case{VT_UNKNOWN, TRUE}}) {
        FirmwareSim_Reset();
        Sim().outDataType = c.type;
        Sim().outDataNullObject = c.nullObject;
        CallResult result = Call({1, 2, 3, 4}, 4);
        EXPECT_EQ(DISP_E_TYPEMISMATCH, result.hr) << "OutData type " << c.type;
        EXPECT_EQ(-1, result.returnCode);
        EXPECT_EQ(Untouched(4), result.output);
        std::vector<std::string> expected = FullRequest(kCommand, kCommandType, {1, 2, 3, 4}, 4);
        expected.resize(18); // ends with reading OutData
        EXPECT_EQ(expected, SimLog()) << "OutData type " << c.type;
    }
}

TEST_F(WmiBiosCallTest, ReturnCodeWithoutNumberFailsWithTypeMismatch) {
    Sim().returnCodeType = VT_NULL;
    CallResult result = Call({1, 2, 3, 4}, 4);
    EXPECT_EQ(DISP_E_TYPEMISMATCH, result.hr);
    EXPECT_EQ(-1, result.returnCode);
    EXPECT_EQ(Untouched(4), result.output);
}

TEST_F(WmiBiosCallTest, ReturnCodeOfAnotherIntegerTypeIsConverted) {
    Sim().echo = FALSE;
    Sim().returnCode = 200;
    Sim().returnCodeType = VT_UI1;
    Sim().dataSize = 0;
    CallResult result = Call({}, 0);
    EXPECT_EQ(S_OK, result.hr);
    EXPECT_EQ(200, result.returnCode);
}

// Null pointers with a size: refused before anything is sent to the firmware.
TEST_F(WmiBiosCallTest, NullBuffersWithASizeFailWithEPointer) {
    const std::vector<std::string> connectOnly = {"CreateInstance WbemLocator",
                                                  "ConnectServer \\\\.\\root\\wmi"};
    LONG returnCode = 12345;
    EXPECT_EQ(E_POINTER,
              m_dll.CallBios()(kCommand, kCommandType, 0, 4, &returnCode, nullptr, nullptr));
    EXPECT_EQ(-1, returnCode);
    EXPECT_EQ(connectOnly, SimLog());

    FirmwareSim_Reset();
    returnCode = 12345;
    BYTE output[4] = {};
    EXPECT_EQ(E_POINTER,
              m_dll.CallBios()(kCommand, kCommandType, 4, 4, &returnCode, nullptr, output));
    EXPECT_EQ(-1, returnCode);
    EXPECT_EQ(connectOnly, SimLog());
}

TEST_F(WmiBiosCallTest, NullReturnCodePointerIsTolerated) {
    BYTE input[2] = {1, 2};
    EXPECT_EQ(S_OK, m_dll.CallBios()(kCommand, kCommandType, 2, 0, nullptr, input, nullptr));
    EXPECT_EQ(FullRequest(kCommand, kCommandType, {1, 2}, 0), SimLog());
}

TEST_F(WmiBiosCallTest, WithoutComOnTheThreadNothingIsSent) {
    CallResult result;
    // A thread of its own that never initialises COM.
    std::thread caller([&] { result = Call({1, 2, 3, 4}, 4); });
    caller.join();
    EXPECT_EQ(CO_E_NOTINITIALIZED, result.hr);
    EXPECT_EQ(-1, result.returnCode);
    EXPECT_EQ(Untouched(4), result.output);
    EXPECT_EQ(std::vector<std::string>{}, SimLog());
}

TEST_F(WmiBiosCallTest, CallsFromSeveralThreadsEachGetTheirOwnAnswer) {
    const int kThreads = 6;
    const int kCallsPerThread = 10;
    std::vector<std::string> failures[kThreads];
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            ComApartment com(t % 2 == 0 ? COINIT_MULTITHREADED : COINIT_APARTMENTTHREADED);
            for (int i = 0; i < kCallsPerThread; ++i) {
                LONG command = t * 1000 + i;
                std::vector<BYTE> input = {BYTE(t), BYTE(i), BYTE(t + i), 0xC3};
                CallResult result = Call(input, 4, command);
                if (result.hr != S_OK || result.returnCode != command ||
                    result.output != Guarded(input)) {
                    failures[t].push_back("call " + std::to_string(i) + ": hr " + Hex(result.hr) +
                                          ", return code " + std::to_string(result.returnCode));
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (int t = 0; t < kThreads; ++t) {
        EXPECT_EQ(std::vector<std::string>{}, failures[t]) << "thread " << t;
    }
    EXPECT_EQ(kThreads * kCallsPerThread * 20, static_cast<int>(SimLog().size()));
}

// The tests borrow the prefix's locator registration and must give it back.
TEST(FirmwareSimRegistrationTest, PutsBackWhatWasRegistered) {
    const wchar_t key[] = FIRMWARE_SIM_LOCATOR_KEY L"\\InprocServer32";
    RegistryValue before = ReadRegistryValue(HKEY_CLASSES_ROOT, key, L"");
    {
        FirmwareSimRegistration registration;
        EXPECT_EQ(Utf8(FirmwareSimRegistration::SimulatorPath()),
                  Utf8(ReadRegistryValue(HKEY_CLASSES_ROOT, key, L"").Text()));
        EXPECT_EQ("Both",
                  Utf8(ReadRegistryValue(HKEY_CLASSES_ROOT, key, L"ThreadingModel").Text()));
    }
    RegistryValue after = ReadRegistryValue(HKEY_CLASSES_ROOT, key, L"");
    EXPECT_EQ(before.exists, after.exists);
    EXPECT_EQ(before.type, after.type);
    EXPECT_EQ(before.data, after.data);
}

} // namespace
