// wzkbios' arguments, checked completely before anything is loaded or sent:
//   call COMMAND TYPE [--in HEX] [--out-size N] [--json]
//   --version | --help
// Options may come anywhere after "call", also as --in=HEX and --out-size=N.
#pragma once

#include "TextLine.h"
#include "bios_tools/shared/RequestLimit.h"

#include <windows.h>

struct Invocation {
    enum class Action { Call, Version, Help };

    Action action = Action::Help;
    LONG command = 0;
    LONG commandType = 0;
    // The input bytes live in a buffer the caller lends (kMaxRequestBytes).
    BYTE* input = nullptr;
    ULONG inputSize = 0;
    ULONG outputSize = 0;
    bool json = false;
};

class CommandLine {
public:
    // `input` receives the --in bytes. False with a one-line reason in `error`.
    static bool Parse(int argc, wchar_t** argv, BYTE* input, Invocation& invocation,
                      TextLine& error);

private:
    static bool ParseCall(int argc, wchar_t** argv, Invocation& invocation, TextLine& error);
    // The value of --in (input) or --out-size.
    static bool ParseValue(bool input, const wchar_t* value, Invocation& invocation,
                           TextLine& error);
    static bool ParsePositional(const wchar_t* text, int index, Invocation& invocation,
                                TextLine& error);
};
