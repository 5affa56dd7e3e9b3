// wzkbios' parts in-process, no program started: the command line as a
// technician types it, and what is printed, with standard output in a file
// (so written as UTF-8, as for a script reading a pipe).
#include "CallReport.h"
#include "CommandLine.h"
#include "Console.h"
#include "wzkWmiBios.h"

#include "common/UniqueHandle.h"
#include "tests/support/FileContents.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <vector>

namespace {

// What `arguments` ask for, in short, or the usage error.
std::string Parsed(const std::wstring& arguments) {
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW((L"wzkbios " + arguments).c_str(), &argc);
    std::vector<BYTE> input(kMaxRequestBytes);
    Invocation call;
    TextLine error;
    bool parsed = CommandLine::Parse(argc, argv, input.data(), call, error);
    ::LocalFree(argv);
    const char* const actions[] = {"call", "version", "help"};
    std::string text = std::string(actions[static_cast<int>(call.action)]) + " " +
                       std::to_string(call.command) + " " + std::to_string(call.commandType);
    text += " in";
    for (ULONG n = 0; n < call.inputSize; ++n) {
        text += " " + std::to_string(call.input[n]);
    }
    text += " out " + std::to_string(call.outputSize) + (call.json ? " json" : "");
    return parsed ? text : Utf8(error.Text());
}

// What `print` writes to standard output.
template <class Print> std::string OutputOf(Print print) {
    ScratchFolder scratch(TestProgramDir() + L"\\scratch_wzkbios_parts");
    const HANDLE original = ::GetStdHandle(STD_OUTPUT_HANDLE);
    {
        UniqueFile file(::CreateFileW((scratch / L"out.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        ::SetStdHandle(STD_OUTPUT_HANDLE, file.get());
        print();
        ::SetStdHandle(STD_OUTPUT_HANDLE, original);
    }
    return TextOf(scratch / L"out.txt");
}

TEST(WzkbiosPartsTest, ReadsTheCommandLine) {
    const std::pair<const wchar_t*, const char*> cases[] = {
        {L"call 0x10 2 --in \"01 02 ff\" --out-size 4", "call 16 2 in 1 2 255 out 4"},
        {L"call --json -2147483648 0xFFFFFFFF --in=0A0b --out-size=65536",
         "call -2147483648 -1 in 10 11 out 65536 json"},
        {L"--version", "version 0 0 in out 0"},
        {L"", "no command given"},
        {L"call 1", "call needs COMMAND and TYPE"},
        {L"call 0x100000000 2", "COMMAND '0x100000000' is out of range"},
        {L"call 1 2147483648", "TYPE '2147483648' is out of range"},
        {L"call 1 2 --in 0g", "--in '0g' has a character that is not a hex digit"},
        {L"call 1 2 --in \"0 1\"", "--in '0 1' has a byte with an odd number of hex digits"},
        {L"call 1 2 --out-size 65537", "--out-size '65537' is out of range (0 to 65536)"},
        {L"call 1 2 --verbose", "unknown option '--verbose'"},
        {L"call 1 2 --in 01 --in=02", "--in is given twice"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.first));
        EXPECT_EQ(c.second, Parsed(c.first));
    }
}

TEST(WzkbiosPartsTest, ReportsTheOutcome) {
    struct ReportCase {
        HRESULT hr;
        LONG returnCode;
        std::string output;
        bool json;
        std::string expected;
    };
    const ReportCase cases[] = {
        {S_OK, WZK_BIOS_ANSWER_SIZE_MISMATCH, "\n\v\f\rABCDEFGHIJKL\x7f", false,
         "HRESULT      0x00000000 (Success.)\nReturn code  3 (0x00000003)\nOutput       17 bytes\n"
         "  0x0000  0a 0b 0c 0d 41 42 43 44 45 46 47 48 49 4a 4b 4c  ....ABCDEFGHIJKL\n"
         "  0x0010  7f                                               .\n"
         "Note         3 is also what wzkWmiBios reports when the firmware's answer did not have "
         "--out-size bytes; the output is then all zero\n"},
        // Past 256 bytes, the output is written in pieces of one line.
        {S_OK, 5, std::string(300, 'U'), true,
         "{\"hresult\":\"0x00000000\",\"message\":\"Success.\",\"returnCode\":5,\"output\":\"" +
             std::string(600, '5') + "\"}\n"},
        // WBEM_E_NOT_FOUND, which the system has no text for.
        {static_cast<HRESULT>(0x80041002), -1, "", true,
         "{\"hresult\":\"0x80041002\",\"message\":null,\"returnCode\":-1,\"output\":null}\n"},
    };
    for (const ReportCase& c : cases) {
        SCOPED_TRACE(c.expected);
        CallOutcome outcome{c.hr, c.returnCode, reinterpret_cast<const BYTE*>(c.output.data()),
                            static_cast<ULONG>(c.output.size())};
        CallReport report(outcome);
        EXPECT_EQ(c.expected, OutputOf([&] { c.json ? report.PrintJson() : report.PrintText(); }));
    }
}

TEST(WzkbiosPartsTest, WritesLongLinesWholeAndSurrogatePairsUnsplit) {
    // Once cut at 1,024 units. The console writes UTF-8 in pieces of 512 units:
    // this pair straddles the end of the second.
    const std::wstring text = std::wstring(1023, L'a') + L"\xD83D\xDE00\"\x1F\xE9\\";
    TextLine line;
    line.AddDecimal(-9223372036854775807LL - 1).AddHex(0x8004, 8).AddJsonString(text.c_str());
    EXPECT_EQ("-92233720368547758080x00008004\"" + std::string(1023, 'a') +
                  "\\ud83d\\ude00\\\"\\u001f\\u00e9\\\\\"",
              Utf8(line.Text()));
    EXPECT_EQ(std::string(1023, 'a') + "\xF0\x9F\x98\x80\"\x1F\xC3\xA9\\",
              OutputOf([&] { Console::Write(Console::Stream::Out, text.c_str()); }));
}

} // namespace
