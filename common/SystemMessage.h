// The system's text for a Win32 error or an HRESULT, without the line end
// it comes with, in a caller's buffer: UTF-16, or single-byte text in the
// ANSI code page. Returns its length; 0 (and empty) when the system has none.
#pragma once

#include <windows.h>

namespace system_message {

inline DWORD Format(DWORD code, wchar_t* text, DWORD size) {
    return ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                            code, 0, text, size, nullptr);
}

inline DWORD Format(DWORD code, char* text, DWORD size) {
    return ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                            code, 0, text, size, nullptr);
}

} // namespace system_message

template <class Char, DWORD Size> DWORD SystemMessage(DWORD code, Char (&text)[Size]) {
    DWORD length = system_message::Format(code, text, Size);
    while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r')) {
        --length;
    }
    text[length < Size ? length : 0] = '\0';
    return length;
}
