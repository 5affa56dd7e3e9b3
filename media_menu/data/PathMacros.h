// The six path macros of an entry's assignment. They are not environment
// variables: any other word between percent signs stays as it is.
#pragma once

#include <windows.h>

#include <cstddef>

// Expands, in this order and each once, "%ProgramFiles%", "%MyPictures%",
// "%WinSysDir%", "%WinDir%", "%SystemRoot%" and "%LCID%" in the caller's
// 260-unit buffer. A macro whose value cannot be obtained, or whose
// replacement would not fit in 259 units, stays in the text; the other macros
// are still expanded. A buffer without a terminator is left unchanged.
void ExpandPathMacros(wchar_t* text);

// Replaces the first occurrence of macro in the 260-unit text by value,
// matching without regard to case. Returns false, leaving the text unchanged,
// when the macro is empty or absent, or when the result would not fit (or the
// text or value has no terminator within 260 units). value must not lie in text.
bool ReplaceMacro(wchar_t* text, const wchar_t* macro, const wchar_t* value);

// Writes the system's default UI language as "0%lX" ("0409", "01004") into
// the buffer (at least 260 units). Returns the language identifier, 0 for none.
LANGID FormatUiLanguage(wchar_t* buffer);

// The "0%lX" form of one identifier; buffer holds at least 6 units.
void FormatLanguageId(LANGID language, wchar_t* buffer);
