#include "Scenario.h"

#include "bios_tools/shared/NumberText.h"
#include "bios_tools/shared/RequestLimit.h"
#include "common/SystemMessage.h"
#include "common/UniqueHandle.h"

#include <wbemcli.h>

namespace sim {
namespace {

// A scenario is a few lines; anything much larger is not one. The sections
// are capped too: each one is kept in memory for the whole request.
const DWORD kMaxFileSize = 1024 * 1024;
const size_t kMaxRequestSections = 4096;
// FirmwareSimConfig::failAt holds the step with its terminator.
const size_t kMaxStepLength = 95;

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (biostext::IsBlank(text.front()) || text.front() == '\r')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (biostext::IsBlank(text.back()) || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

bool SameWord(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           ::CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                            b.data(), static_cast<int>(b.size())) == CSTR_EQUAL;
}

std::string Quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

bool Fault(std::string& message, std::string text) {
    message = std::move(text);
    return false;
}

bool ReadNumber(std::string_view what, std::string_view text, LONG& value, std::string& message) {
    biostext::TextError error = biostext::ParseLong(text, value);
    return error == biostext::TextError::None ||
           Fault(message, std::string(what) + " " + Quoted(text) + " " + biostext::Describe(error));
}

// The system's text for a Win32 error, for messages in the log.
std::string SystemMessageText(DWORD error) {
    char text[256] = {};
    return ::SystemMessage(error, text) != 0 ? text : "error " + std::to_string(error);
}

} // namespace

HRESULT Scenario::Load(const wchar_t* path, std::string& message) {
    UniqueFile file(::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER fileSize = {};
    if (file && (!::GetFileSizeEx(file.get(), &fileSize) || fileSize.QuadPart > kMaxFileSize)) {
        message = "the file has more than " + std::to_string(kMaxFileSize) +
                  " bytes, the most a scenario may have";
        return HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE);
    }
    DWORD error = !file ? ::GetLastError() : 0;
    DWORD size = static_cast<DWORD>(fileSize.QuadPart);
    std::string text(size, '\0');
    DWORD read = 0;
    if (error == 0 && size != 0 &&
        (!::ReadFile(file.get(), &text[0], size, &read, nullptr) || read != size)) {
        error = ::GetLastError() != 0 ? ::GetLastError() : ERROR_READ_FAULT;
    }
    if (error != 0) {
        message = "cannot read the file: " + SystemMessageText(error);
        return HRESULT_FROM_WIN32(error);
    }
    return Parse(text, message) ? S_OK : HRESULT_FROM_WIN32(ERROR_BAD_CONFIGURATION);
}

bool Scenario::Parse(std::string_view text, std::string& message) {
    *this = Scenario();
    const std::string_view bom = "\xEF\xBB\xBF";
    if (text.substr(0, bom.size()) == bom) {
        text.remove_prefix(bom.size());
    }
    for (size_t number = 1; !text.empty(); ++number) {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!ParseLine(Trim(line), message)) {
            message = "line " + std::to_string(number) + ": " + message;
            return false;
        }
    }
    if (m_hasFailure && m_failure == S_OK) {
        m_failure = WBEM_E_FAILED;
    }
    return !m_hasFailure || !m_failureStep.empty() ||
           Fault(message, "[Failure] needs Step=, the step that is to fail");
}

bool Scenario::ParseLine(std::string_view line, std::string& message) {
    if (line.empty() || line[0] == ';' || line[0] == '#') {
        return true;
    }
    if (line[0] == '[') {
        return line.back() == ']' ? StartSection(Trim(line.substr(1, line.size() - 2)), message)
                                  : Fault(message, "a section name must end with ']'");
    }
    size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return Fault(message, "expected [Section] or Key=Value, found " + Quoted(line));
    }
    return SetValue(Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)), message);
}

bool Scenario::StartSection(std::string_view name, std::string& message) {
    if (SameWord(name, "Default") || SameWord(name, "Failure")) {
        bool isDefault = SameWord(name, "Default");
        bool& seen = isDefault ? m_hasDefault : m_hasFailure;
        if (seen) {
            return Fault(message, "a second [" + std::string(name) + "]");
        }
        seen = true;
        m_section = isDefault ? Section::Default : Section::Failure;
        return true;
    }
    size_t blank = name.find_first_of(" \t");
    if (blank == std::string_view::npos || !SameWord(name.substr(0, blank), "Request")) {
        return Fault(message, "unknown section [" + std::string(name) +
                                  "]; expected [Request COMMAND TYPE], [Default] or [Failure]");
    }
    std::string_view numbers = Trim(name.substr(blank));
    size_t gap = numbers.find_first_of(" \t");
    if (gap == std::string_view::npos) {
        return Fault(message, "[Request COMMAND TYPE] needs both numbers");
    }
    if (m_requests.size() == kMaxRequestSections) {
        return Fault(message, "more than " + std::to_string(kMaxRequestSections) +
                                  " [Request] sections");
    }
    Request request{0, 0, {}};
    if (!ReadNumber("COMMAND", numbers.substr(0, gap), request.command, message) ||
        !ReadNumber("TYPE", Trim(numbers.substr(gap)), request.commandType, message)) {
        return false;
    }
    for (const Request& earlier : m_requests) {
        if (earlier.command == request.command && earlier.commandType == request.commandType) {
            return Fault(message, "a second [" + std::string(name) + "]");
        }
    }
    m_requests.push_back(request);
    m_section = Section::Request;
    return true;
}

bool Scenario::SetValue(std::string_view key, std::string_view value, std::string& message) {
    switch (m_section) {
    case Section::Request:
        return SetAnswerValue(m_requests.back().answer, key, value, message);
    case Section::Default:
        return SetAnswerValue(m_default, key, value, message);
    case Section::Failure:
        return SetFailureValue(key, value, message);
    case Section::None:
        break;
    }
    return Fault(message, Quoted(key) + " comes before any section");
}

bool Scenario::SetAnswerValue(ScenarioAnswer& answer, std::string_view key, std::string_view value,
                              std::string& message) {
    if (SameWord(key, "ReturnCode")) {
        return ReadNumber("ReturnCode", value, answer.returnCode, message);
    }
    if (SameWord(key, "Data")) {
        // Parsed into room for the most there may be, then kept at its size:
        // a vector that only shrank would keep all that room per answer.
        std::vector<BYTE> room(kMaxRequestBytes);
        size_t count = 0;
        biostext::TextError error = biostext::ParseHexBytes(value, room.data(), room.size(), count);
        answer.data.assign(room.begin(), room.begin() + static_cast<ptrdiff_t>(count));
        return error == biostext::TextError::None ||
               Fault(message, "Data " + std::string(biostext::Describe(error)));
    }
    return Fault(message, "unknown key " + Quoted(key) + "; expected ReturnCode or Data");
}

bool Scenario::SetFailureValue(std::string_view key, std::string_view value, std::string& message) {
    if (SameWord(key, "Step")) {
        m_failureStep = value;
        return (!value.empty() && value.size() <= kMaxStepLength) ||
               Fault(message,
                     "Step must have 1 to " + std::to_string(kMaxStepLength) + " characters");
    }
    if (SameWord(key, "HResult")) {
        LONG failure = 0;
        if (!ReadNumber("HResult", value, failure, message)) {
            return false;
        }
        m_failure = failure;
        return FAILED(m_failure) || Fault(message, "HResult " + Quoted(value) +
                                                       " is no failure code (0x80000000 and up)");
    }
    return Fault(message, "unknown key " + Quoted(key) + "; expected Step or HResult");
}

const ScenarioAnswer* Scenario::AnswerFor(LONG command, LONG commandType) const {
    for (const Request& request : m_requests) {
        if (request.command == command && request.commandType == commandType) {
            return &request.answer;
        }
    }
    return m_hasDefault ? &m_default : nullptr;
}

std::vector<ULONG> Scenario::OutputSizes() const {
    std::vector<ULONG> sizes;
    for (const Request& request : m_requests) {
        sizes.push_back(static_cast<ULONG>(request.answer.data.size()));
    }
    if (m_hasDefault) {
        sizes.push_back(static_cast<ULONG>(m_default.data.size()));
    }
    return sizes;
}

} // namespace sim
