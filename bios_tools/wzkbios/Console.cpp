#include "Console.h"

namespace {

// UTF-8 is written in pieces through this buffer: at most 3 bytes per
// UTF-16 unit, and a piece never ends inside a surrogate pair.
const size_t kPieceUnits = 512;

void WriteUtf8(HANDLE handle, const wchar_t* text, size_t length) {
    char bytes[kPieceUnits * 3];
    while (length > 0) {
        size_t units = length < kPieceUnits ? length : kPieceUnits;
        if (units < length && IS_HIGH_SURROGATE(text[units - 1])) {
            --units;
        }
        int size = ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(units), bytes,
                                         sizeof bytes, nullptr, nullptr);
        DWORD written = 0;
        ::WriteFile(handle, bytes, static_cast<DWORD>(size), &written, nullptr);
        text += units;
        length -= units;
    }
}

} // namespace

void Console::Write(Stream stream, const wchar_t* text, size_t length) {
    HANDLE handle = ::GetStdHandle(stream == Stream::Out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD mode = 0;
    DWORD written = 0;
    if (::GetConsoleMode(handle, &mode)) {
        ::WriteConsoleW(handle, text, static_cast<DWORD>(length), &written, nullptr);
    } else {
        WriteUtf8(handle, text, length);
    }
}

void Console::Write(Stream stream, const wchar_t* text) {
    Write(stream, text, ::lstrlenW(text));
}

void Console::WriteLine(Stream stream, const wchar_t* text) {
    Write(stream, text);
    Write(stream, L"\r\n");
}
