// A line of output built piece by piece. It starts in a buffer of its own and
// moves to a larger one on the heap when a piece does not fit, so that a long
// line (a JSON message, a path, an argument echoed in an error) comes out
// whole. Only when memory runs out is the rest of a line left off. Nothing of
// the C++ library that could throw is involved, which keeps the program small.
#pragma once

#include <windows.h>

#include <memory>

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
    // Room for `more` units and the terminator; false when memory runs out.
    bool Reserve(size_t more);

    static const size_t kOwnCapacity = 256;
    wchar_t m_own[kOwnCapacity] = {};
    std::unique_ptr<wchar_t[]> m_grown;
    wchar_t* m_text = m_own;
    size_t m_capacity = kOwnCapacity;
    size_t m_length = 0;
};
