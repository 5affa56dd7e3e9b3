// Turns an entry's expanded assignment into a shell command and starts it
// with the "open" verb.
#pragma once

#include "BoundedText.h"

#include <windows.h>

// Which of the launch cases a text fell into, tested in this order.
enum class LaunchKind {
    Nothing = 1,          // empty text: nothing to launch
    Applet,               // an existing file ending in ".cpl": control.exe "text"
    ExistingPath,         // an existing file or folder, opened as it is
    Associated,           // not existing, but the shell knows a program for it
    QuotedProgram,        // "program.exe" arguments
    ProgramWithArguments, // program.exe arguments (cut after the ".exe" before a space or tab)
    Browser,              // anything else: given to the program that opens "Blank.htm"
};

// Composes the shell command for text (a terminated text of at most 259
// units) into the caller's three 260-unit buffers, which are zero-filled
// first, and reports the case in kind. Returns false when there is nothing
// the shell could be asked to start: text has no terminator within 260
// units, the program or parameters would not fit (they are never cut), or no
// program was found. For LaunchKind::Nothing it returns true with all empty.
bool ComposeLaunch(const wchar_t* text, LaunchKind& kind, wchar_t* program, wchar_t* parameters,
                   wchar_t* workingDirectory);

// Launches text as composed by ComposeLaunch through ShellExecuteW. Returns
// true when nothing had to be launched or the shell reported success (a
// value above 32); false otherwise, without calling the shell when no
// command could be composed.
bool LaunchAssignment(const wchar_t* text);
