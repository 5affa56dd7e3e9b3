#include "CommandLine.h"

#include "bios_tools/shared/NumberText.h"

#include <string_view>

namespace {

using Text = std::wstring_view;

bool Same(const wchar_t* a, const wchar_t* b) {
    return ::lstrcmpW(a, b) == 0;
}

// A blank, a '-' or a digit after '-' is a value, not an option: "-1" is a
// command, "-" is nothing wzkbios knows.
bool IsOption(const wchar_t* text) {
    return text[0] == L'-' && !(text[1] >= L'0' && text[1] <= L'9');
}

bool Reject(TextLine& error, const wchar_t* what, const wchar_t* text, const char* problem) {
    error.Add(what).Add(L" '").Add(text).Add(L"' ");
    for (; *problem != '\0'; ++problem) {
        error.Add(static_cast<wchar_t>(*problem));
    }
    return false;
}

bool ReadLong(const wchar_t* what, const wchar_t* text, LONG& value, TextLine& error) {
    biostext::TextError problem = biostext::ParseLong(Text(text), value);
    return problem == biostext::TextError::None ||
           Reject(error, what, text, biostext::Describe(problem));
}

} // namespace

bool CommandLine::Parse(int argc, wchar_t** argv, BYTE* input, Invocation& invocation,
                        TextLine& error) {
    invocation = Invocation();
    invocation.input = input;
    if (argc < 2) {
        error.Add(L"no command given");
        return false;
    }
    const wchar_t* first = argv[1];
    if (Same(first, L"call")) {
        invocation.action = Invocation::Action::Call;
        return ParseCall(argc, argv, invocation, error);
    }
    bool help = Same(first, L"--help") || Same(first, L"-h") || Same(first, L"/?");
    if (help || Same(first, L"--version")) {
        invocation.action = help ? Invocation::Action::Help : Invocation::Action::Version;
        if (argc == 2) {
            return true;
        }
        error.Add(L"unexpected argument '").Add(argv[2]).Add(L"' after ").Add(first);
        return false;
    }
    error.Add(IsOption(first) ? L"unknown option '" : L"unknown command '").Add(first).Add(L"'");
    return false;
}

bool CommandLine::ParseCall(int argc, wchar_t** argv, Invocation& invocation, TextLine& error) {
    bool seenIn = false;
    bool seenOutSize = false;
    int positionals = 0;
    for (int i = 2; i < argc; ++i) {
        const wchar_t* argument = argv[i];
        if (!IsOption(argument)) {
            if (!ParsePositional(argument, positionals++, invocation, error)) {
                return false;
            }
            continue;
        }
        // "--name=value" or "--name value"; a longer name is no option anyway.
        wchar_t name[32] = {};
        const wchar_t* equals = ::wcschr(argument, L'=');
        int nameLength = equals != nullptr ? static_cast<int>(equals - argument) : 31;
        ::lstrcpynW(name, argument, (nameLength < 31 ? nameLength : 31) + 1);
        const wchar_t* value = equals != nullptr ? equals + 1 : nullptr;
        if (Same(name, L"--json") && value == nullptr) {
            invocation.json = true;
            continue;
        }
        bool isIn = Same(name, L"--in");
        if (!isIn && !Same(name, L"--out-size")) {
            error.Add(L"unknown option '").Add(argument).Add(L"'");
            return false;
        }
        bool& seen = isIn ? seenIn : seenOutSize;
        if (seen) {
            error.Add(name).Add(L" is given twice");
            return false;
        }
        seen = true;
        if (value == nullptr && i + 1 >= argc) {
            error.Add(name).Add(L" needs a value");
            return false;
        }
        if (!ParseValue(isIn, value != nullptr ? value : argv[++i], invocation, error)) {
            return false;
        }
    }
    if (positionals < 2) {
        error.Add(L"call needs COMMAND and TYPE");
        return false;
    }
    return true;
}

bool CommandLine::ParseValue(bool input, const wchar_t* value, Invocation& invocation,
                             TextLine& error) {
    if (input) {
        size_t count = 0;
        biostext::TextError problem =
            biostext::ParseHexBytes(Text(value), invocation.input, kMaxRequestBytes, count);
        invocation.inputSize = static_cast<ULONG>(count);
        return problem == biostext::TextError::None ||
               Reject(error, L"--in", value, biostext::Describe(problem));
    }
    long long size = 0;
    biostext::TextError problem = biostext::ParseInteger(Text(value), 0, kMaxRequestBytes, size);
    invocation.outputSize = static_cast<ULONG>(size);
    return problem == biostext::TextError::None ||
           Reject(error, L"--out-size", value,
                  problem == biostext::TextError::OutOfRange ? "is out of range (0 to 65536)"
                                                             : biostext::Describe(problem));
}

bool CommandLine::ParsePositional(const wchar_t* text, int index, Invocation& invocation,
                                  TextLine& error) {
    if (index == 0) {
        return ReadLong(L"COMMAND", text, invocation.command, error);
    }
    if (index == 1) {
        return ReadLong(L"TYPE", text, invocation.commandType, error);
    }
    error.Add(L"unexpected argument '").Add(text).Add(L"'");
    return false;
}
