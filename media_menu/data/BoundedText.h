// Bounded handling of the menu's fixed text buffers. Every text lives in a
// buffer of kTextUnits UTF-16 units, terminator included; nothing here reads
// past a buffer whose terminator is missing or writes past its end.
#pragma once

#include <windows.h>

#include <cstddef>

constexpr size_t kTextUnits = MAX_PATH;

// Units before the first NUL, or capacity when there is none within it.
size_t TextLength(const wchar_t* text, size_t capacity);

// True when text ends within capacity units (a usable, terminated text).
inline bool IsTerminatedWithin(const wchar_t* text, size_t capacity) {
    return TextLength(text, capacity) < capacity;
}

// Writes count units of source and a terminator into destination. Returns
// false, leaving destination untouched, when they do not fit in capacity.
bool CopyText(wchar_t* destination, size_t capacity, const wchar_t* source, size_t count);
