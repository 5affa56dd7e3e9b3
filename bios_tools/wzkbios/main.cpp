// wzkbios: one BIOS request from the command line, through wzkWmiBios.dll,
// for technicians and for scripts. See Usage below and `wzkbios --help`.
#include "BiosLibrary.h"
#include "CallReport.h"
#include "common/ComApartment.h"
#include "CommandLine.h"
#include "Console.h"
#include "common/ProductVersion.h"

#include <memory>
#include <new>

namespace {

// The exit codes; 64 is the usual code for a usage error.
const int kFirmwareReturnedZero = 0;
const int kFirmwareReturnedOther = 1;
const int kCallFailed = 2;
const int kUsageError = 64;

const wchar_t kUsage[] =
    L"wzkbios: sends one BIOS request through wzkWmiBios.dll and prints the answer.\r\n"
    L"\r\n"
    L"Usage:\r\n"
    L"  wzkbios call COMMAND TYPE [--in HEX] [--out-size N] [--json]\r\n"
    L"  wzkbios --version\r\n"
    L"  wzkbios --help\r\n"
    L"\r\n"
    L"  COMMAND, TYPE  the request's command and command type: decimal\r\n"
    L"                 (-2147483648 to 2147483647) or 0x-hex (up to 0xFFFFFFFF)\r\n"
    L"  --in HEX       the input bytes as hex digit pairs, with blanks allowed\r\n"
    L"                 between bytes: \"01 02 ff\" or 0102ff (default: none;\r\n"
    L"                 at most 65536 bytes)\r\n"
    L"  --out-size N   the number of output bytes expected, 0 to 65536\r\n"
    L"                 (default 0); it selects the firmware method wzkBIOSInt<N>\r\n"
    L"  --json         print the result as one JSON object:\r\n"
    L"                 {\"hresult\":\"0x00000000\",\"message\":\"...\",\"returnCode\":0,\r\n"
    L"                  \"output\":\"0a0b\"} (message and output may be null)\r\n"
    L"  Options may come anywhere after \"call\", also as --in=HEX, --out-size=N.\r\n"
    L"\r\n"
    L"Exit codes:\r\n"
    L"  0   the call succeeded and the firmware returned 0\r\n"
    L"  1   the call succeeded and the firmware returned another code\r\n"
    L"  2   the call failed (its HRESULT is printed), or wzkWmiBios.dll could\r\n"
    L"      not be loaded or has no wzkCallBios (the reason goes to stderr)\r\n"
    L"  64  a usage error: nothing was sent to the firmware\r\n"
    L"\r\n"
    L"wzkWmiBios.dll is loaded from wzkbios' own folder, else from the folder of\r\n"
    L"the installation (never from the current folder or the search path). A\r\n"
    L"return code of 3 is also what the library reports when the firmware's\r\n"
    L"answer did not have --out-size bytes.\r\n";

void PrintError(const wchar_t* text, const wchar_t* hint = L"") {
    TextLine line;
    line.Add(L"wzkbios: ").Add(text).Add(hint);
    Console::WriteLine(Console::Stream::Error, line.Text());
}

int PrintVersion() {
    Console::WriteLine(Console::Stream::Out, L"wzkbios " TEXT(PRODUCT_VERSION_TEXT));
    BiosLibrary library;
    TextLine text;
    if (FAILED(library.Load(text))) {
        PrintError(text.Text());
        return kCallFailed;
    }
    text.Add(L"wzkWmiBios.dll: ");
    library.Describe(text);
    Console::WriteLine(Console::Stream::Out, text.Text());
    return kFirmwareReturnedZero;
}

int Call(const Invocation& invocation) {
    BiosLibrary library;
    TextLine problem;
    if (FAILED(library.Load(problem))) {
        PrintError(problem.Text());
        return kCallFailed;
    }
    // The caller's buffer for the output, like any client's.
    std::unique_ptr<BYTE[]> output(new (std::nothrow) BYTE[kMaxRequestBytes]());
    if (!output) {
        PrintError(L"out of memory");
        return kCallFailed;
    }
    CallOutcome outcome;
    ComApartment com(COINIT_APARTMENTTHREADED);
    outcome.hr = library.CallBios()(
        invocation.command, invocation.commandType, invocation.inputSize, invocation.outputSize,
        &outcome.returnCode, invocation.inputSize != 0 ? invocation.input : nullptr,
        invocation.outputSize != 0 ? output.get() : nullptr);
    outcome.output = output.get();
    outcome.outputSize = invocation.outputSize;
    CallReport report(outcome);
    if (invocation.json) {
        report.PrintJson();
    } else {
        report.PrintText();
    }
    return FAILED(outcome.hr)        ? kCallFailed
           : outcome.returnCode == 0 ? kFirmwareReturnedZero
                                     : kFirmwareReturnedOther;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::unique_ptr<BYTE[]> input(new (std::nothrow) BYTE[kMaxRequestBytes]);
    Invocation invocation;
    TextLine error;
    if (!input) {
        PrintError(L"out of memory");
        return kCallFailed;
    }
    if (!CommandLine::Parse(argc, argv, input.get(), invocation, error)) {
        PrintError(error.Text(), L" (see wzkbios --help)");
        return kUsageError;
    }
    switch (invocation.action) {
    case Invocation::Action::Help:
        Console::Write(Console::Stream::Out, kUsage);
        return kFirmwareReturnedZero;
    case Invocation::Action::Version:
        return PrintVersion();
    case Invocation::Action::Call:
        break;
    }
    return Call(invocation);
}
