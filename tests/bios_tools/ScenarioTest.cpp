// Scenario files as a client developer writes them: the answers they give
// through the real library, and the message and failure a faulty one gives.
#include "common/ComApartment.h"
#include "tests/support/bios/FirmwareSimulator.h"
#include "tests/support/bios/WzkWmiBiosDll.h"

#include "common/ComPtr.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <wbemcli.h>

#include <ostream>

namespace {

const HRESULT kBadScenario = HRESULT_FROM_WIN32(ERROR_BAD_CONFIGURATION);

// What a client saw, and the simulator's complaint about the file ("" if none).
struct Answer {
    HRESULT hr;
    LONG returnCode;
    std::vector<BYTE> output;
    std::string complaint;

    bool operator==(const Answer& o) const {
        return hr == o.hr && returnCode == o.returnCode && output == o.output &&
               complaint == o.complaint;
    }
};

void PrintTo(const Answer& a, std::ostream* os) {
    *os << "hr 0x" << std::hex << static_cast<unsigned long>(a.hr) << std::dec << " return code "
        << a.returnCode << " output";
    for (BYTE byte : a.output) {
        *os << " " << static_cast<int>(byte);
    }
    *os << " complaint '" << a.complaint << "'";
}

struct ScenarioCase {
    const char* text; // null: no file at all
    LONG command;
    LONG commandType;
    std::vector<BYTE> input;
    ULONG outputSize;
    Answer expected;
};

Answer Failed(HRESULT hr, const std::string& complaint = "") {
    return {hr, -1, {}, complaint};
}

class ScenarioTest : public ::testing::Test {
protected:
    Answer Ask(const ScenarioCase& c) {
        FirmwareSim_Reset();
        std::wstring path = m_scratch / L"scenario.ini";
        ::DeleteFileW(path.c_str());
        if (c.text != nullptr) {
            m_scratch.AddFile(L"scenario.ini", c.text);
        }
        FirmwareSim_LoadScenario(path.c_str());
        Answer answer{E_FAIL, 12345, std::vector<BYTE>(c.outputSize, 0xEE), ""};
        answer.hr = m_dll.CallBios()(c.command, c.commandType, static_cast<ULONG>(c.input.size()),
                                     c.outputSize, &answer.returnCode, c.input.data(),
                                     answer.output.data());
        const std::string prefix = "scenario error: " + Utf8(path) + ": ";
        for (const std::string& line : SimLog()) {
            if (line.compare(0, prefix.size(), prefix) == 0) {
                answer.complaint = line.substr(prefix.size());
            }
        }
        return answer;
    }

    ScratchFolder m_scratch{TestProgramDir() + L"\\scratch_scenario"};
    FirmwareSimRegistration m_registration;
    ComApartment m_com;
    WzkWmiBiosDll m_dll;
};

TEST_F(ScenarioTest, AnswersAsTheFileSays) {
    const ScenarioCase cases[] = {
        {"[Request 0x10 2]\nData=0a 0b 0c 0d", 16, 2, {}, 4, {S_OK, 0, {10, 11, 12, 13}, ""}},
        {"[Default]\nReturnCode=0x8001\nData=FF", 2, 0, {}, 1, {S_OK, 0x8001, {0xFF}, ""}},
        // Without [Default], the built-in echo: the command, the input padded.
        {"[Request 1 1]\nReturnCode=1", 9, 0, {1, 2}, 4, {S_OK, 9, {1, 2, 0, 0}, ""}},
        // A byte-order mark, a comment, CR LF, blanks and any case.
        {"\xEF\xBB\xBF;\r\n[request 5 6]\r\n returncode = -3 ", 5, 6, {}, 0, {S_OK, -3, {}, ""}},
        {"[Failure]\nStep=SpawnInstance\nHResult=0x80070005", 1, 1, {}, 0, Failed(E_ACCESSDENIED)},
        {"[Failure]\nStep=ExecMethod", 1, 1, {}, 0, Failed(WBEM_E_FAILED)},
    };
    ASSERT_TRUE(m_dll.Loaded());
    for (const ScenarioCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.expected, Ask(c));
    }
}

TEST_F(ScenarioTest, FailsEveryRequestAndSaysWhyWhenTheFileIsUnusable) {
    struct Unusable {
        const char* text; // null: no file at all
        HRESULT hr;
        const char* complaint;
    };
    const HRESULT kNoFile = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    std::string sections;
    for (int i = 0; i <= 4096; ++i) {
        sections += "[Request 1 " + std::to_string(i) + "]\n";
    }
    const std::string oversized(1024 * 1024 + 1, ';');
    const Unusable cases[] = {
        {sections.c_str(), kBadScenario, "line 4097: more than 4096 [Request] sections"},
        {oversized.c_str(), HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE),
         "the file has more than 1048576 bytes, the most a scenario may have"},
        {nullptr, kNoFile, "cannot read the file: File not found."},
        {"[Request 1]", kBadScenario, "line 1: [Request COMMAND TYPE] needs both numbers"},
        {"[Request 1 2]\nData=0g", kBadScenario,
         "line 2: Data has a character that is not a hex digit"},
        {"Data=01", kBadScenario, "line 1: 'Data' comes before any section"},
        {"[Answers]", kBadScenario,
         "line 1: unknown section [Answers]; expected [Request COMMAND TYPE], [Default] or "
         "[Failure]"},
        {"[Default]\nColour=red", kBadScenario,
         "line 2: unknown key 'Colour'; expected ReturnCode or Data"},
        {"[Request 1 2]\n[Request 0x1 0x2]", kBadScenario, "line 2: a second [Request 0x1 0x2]"},
        {"[Failure]\nHResult=1", kBadScenario,
         "line 2: HResult '1' is no failure code (0x80000000 and up)"},
        {"[Failure]\nHResult=0x80004005", kBadScenario,
         "[Failure] needs Step=, the step that is to fail"},
        {"just text", kBadScenario, "line 1: expected [Section] or Key=Value, found 'just text'"},
    };
    ASSERT_TRUE(m_dll.Loaded());
    for (const Unusable& c : cases) {
        SCOPED_TRACE(c.text != nullptr ? std::string(c.text).substr(0, 80) : "(no file)");
        EXPECT_EQ(Failed(c.hr, c.complaint), Ask({c.text, 1, 1, {}, 0, {}}));
    }
}

// A client's array whose elements are not what its type says is refused,
// never read element by element into a variable of the wrong size.
TEST_F(ScenarioTest, RefusesAnArrayWhoseElementsAreNotWhatItsTypeSays) {
    FirmwareSim_Reset();
    // The simulator only reads the names it is given, so plain texts do.
    ComPtr<IWbemLocator> locator;
    ComPtr<IWbemServices> services;
    ComPtr<IWbemClassObject> requestClass;
    ComPtr<IWbemClassObject> request;
    ASSERT_EQ(S_OK, ::CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_IWbemLocator, locator.put_void()));
    ASSERT_EQ(S_OK, locator->ConnectServer(const_cast<BSTR>(L"\\\\.\\root\\wmi"), nullptr, nullptr,
                                           nullptr, 0, nullptr, nullptr, services.put()));
    ASSERT_EQ(S_OK, services->GetObject(const_cast<BSTR>(L"wzkBDataIn"), 0, nullptr,
                                        requestClass.put(), nullptr));
    ASSERT_EQ(S_OK, requestClass->SpawnInstance(0, request.put()));
    const struct {
        VARTYPE tag;
        VARTYPE elements;
        const char* logged;
    } cases[] = {
        {VT_ARRAY | VT_UI1, VT_VARIANT, "VT_ARRAY|VT_UI1 (not a vector of 1-byte numbers)"},
        {VT_ARRAY | VT_I4, VT_UI1, "VT_ARRAY|VT_I4 (not a vector of 4-byte numbers)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.logged);
        VARIANT value;
        ::VariantInit(&value);
        V_VT(&value) = c.tag;
        V_ARRAY(&value) = ::SafeArrayCreateVector(c.elements, 0, 4);
        EXPECT_EQ(WBEM_E_TYPE_MISMATCH, request->Put(L"wzkBData", 0, &value, 0));
        V_VT(&value) = VT_ARRAY | c.elements;
        ::VariantClear(&value);
        EXPECT_EQ("Put wzkBDataIn().wzkBData " + std::string(c.logged) + " -> 0x80041005",
                  SimLog().back());
    }
}

} // namespace
