// A scenario: how the simulated firmware answers, read from an INI-style file
// that a client developer writes (see example-scenario.ini):
//
//   [Request COMMAND TYPE]   the answer to one command and command type
//   ReturnCode=NUMBER        "rwReturnCode" (default 0)
//   Data=HEX BYTES           "Data" (default none); its length is also the
//                            output size of a method the firmware then has
//   [Default]                the answer to every other request (without it:
//                            the built-in echo of the request)
//   [Failure]                one step of the WMI exchange that fails:
//   Step=TEXT                the first step of a request whose log line
//                            starts with TEXT ...
//   HResult=NUMBER           ... returns this failure code (default
//                            0x80041001, WBEM_E_FAILED)
//
// Numbers are decimal or 0x-hex; lines starting with ';' or '#' are comments.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace sim {

struct ScenarioAnswer {
    LONG returnCode = 0;
    std::vector<BYTE> data;
};

class Scenario {
public:
    // Reads and parses a file. On failure `message` says why ("line 3: ...")
    // and the result is the documented failure: ERROR_BAD_CONFIGURATION as an
    // HRESULT for a malformed file, the system's error for an unreadable one.
    HRESULT Load(const wchar_t* path, std::string& message);
    // Parses the text of a scenario file; false with a message on the first fault.
    bool Parse(std::string_view text, std::string& message);

    // The answer for a request: its own section, else [Default]; null: none given.
    const ScenarioAnswer* AnswerFor(LONG command, LONG commandType) const;
    // Output sizes the answers imply, for the methods the firmware has.
    std::vector<ULONG> OutputSizes() const;
    const std::string& FailureStep() const { return m_failureStep; }
    HRESULT Failure() const { return m_failure; }

private:
    struct Request {
        LONG command;
        LONG commandType;
        ScenarioAnswer answer;
    };
    enum class Section { None, Request, Default, Failure };

    bool ParseLine(std::string_view line, std::string& message);
    bool StartSection(std::string_view name, std::string& message);
    bool SetValue(std::string_view key, std::string_view value, std::string& message);
    bool SetAnswerValue(ScenarioAnswer& answer, std::string_view key, std::string_view value,
                        std::string& message);
    bool SetFailureValue(std::string_view key, std::string_view value, std::string& message);

    std::vector<Request> m_requests;
    bool m_hasDefault = false;
    ScenarioAnswer m_default;
    std::string m_failureStep;
    HRESULT m_failure = S_OK;
    bool m_hasFailure = false;
    Section m_section = Section::None;
};

} // namespace sim
