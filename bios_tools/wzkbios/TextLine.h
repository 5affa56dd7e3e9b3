// A line of output built piece by piece in a fixed buffer. Appending past the
// end cuts the text off instead of overrunning; no piece of the C++ library
// that could throw is involved, which keeps the program small.
#pragma once

#include <windows.h>

class TextLine {
public:
    TextLine() = default;
    TextLine(const TextLine&) = delete;
    TextLine& operator=(const TextLine&) = delete;

    TextLine& Add(const wchar_t* text);
    TextLine& Add(const wchar_t* text, size_t length);
    TextLine& Add(wchar_t c);
    TextLine& AddDecimal(long long value);
    // "0x" and `digits` upper-case hex digits: AddHex(0x8004, 8) gives "0x00008004".
    TextLine& AddHex(ULONG value, int digits);
    // Two lower-case hex digits, as in the dump and the JSON "output".
    TextLine& AddByte(BYTE value);
    // A JSON string with its quotes; non-ASCII characters as \uXXXX.
    TextLine& AddJsonString(const wchar_t* text);
    // The system's text for an error or HRESULT, between `before` and
    // `after`; nothing at all when the system has none.
    TextLine& AddSystemMessage(DWORD code, const wchar_t* before, const wchar_t* after);
    // Spaces up to `column`.
    TextLine& PadTo(size_t column);

    const wchar_t* Text() const { return m_text; }
    size_t Length() const { return m_length; }
    void Clear();

private:
    static const size_t kCapacity = 1024;
    wchar_t m_text[kCapacity] = {};
    size_t m_length = 0;
};
