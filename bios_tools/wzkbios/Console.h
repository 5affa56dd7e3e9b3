// Writes text to standard output or standard error: through the console's
// wide-character output when the stream is a console, as UTF-8 otherwise (a
// file, a pipe, or the terminal Wine passes through), so that a script reads
// the same bytes as a person sees.
#pragma once

#include <windows.h>

class Console {
public:
    enum class Stream { Out, Error };

    static void Write(Stream stream, const wchar_t* text, size_t length);
    static void Write(Stream stream, const wchar_t* text);
    // The text and a line end.
    static void WriteLine(Stream stream, const wchar_t* text);
};
