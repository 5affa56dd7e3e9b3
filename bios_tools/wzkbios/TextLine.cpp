#include "TextLine.h"

#include "common/SystemMessage.h"

#include <new>

namespace {

const wchar_t kHexDigits[] = L"0123456789ABCDEF";
const wchar_t kLowerHexDigits[] = L"0123456789abcdef";

} // namespace

bool TextLine::Reserve(size_t more) {
    if (m_length + more < m_capacity) {
        return true;
    }
    size_t capacity = m_capacity * 2;
    while (capacity <= m_length + more) {
        capacity *= 2;
    }
    std::unique_ptr<wchar_t[]> grown(new (std::nothrow) wchar_t[capacity]);
    if (!grown) {
        return false;
    }
    ::CopyMemory(grown.get(), m_text, (m_length + 1) * sizeof(wchar_t));
    m_grown = std::move(grown);
    m_text = m_grown.get();
    m_capacity = capacity;
    return true;
}

TextLine& TextLine::Add(const wchar_t* text, size_t length) {
    if (!Reserve(length)) {
        length = m_capacity - 1 - m_length;
    }
    ::CopyMemory(m_text + m_length, text, length * sizeof(wchar_t));
    m_length += length;
    m_text[m_length] = L'\0';
    return *this;
}

TextLine& TextLine::Add(const wchar_t* text) {
    return Add(text, ::lstrlenW(text));
}

TextLine& TextLine::Add(wchar_t c) {
    return Add(&c, 1);
}

TextLine& TextLine::AddDecimal(long long value) {
    wchar_t digits[24];
    size_t count = 0;
    unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                             : static_cast<unsigned long long>(value);
    do {
        digits[count++] = static_cast<wchar_t>(L'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) {
        Add(L'-');
    }
    while (count > 0) {
        Add(digits[--count]);
    }
    return *this;
}

TextLine& TextLine::AddHex(ULONG value, int digits) {
    Add(L"0x");
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) {
        Add(kHexDigits[(value >> shift) & 0xF]);
    }
    return *this;
}

TextLine& TextLine::AddByte(BYTE value) {
    Add(kLowerHexDigits[value >> 4]);
    return Add(kLowerHexDigits[value & 0xF]);
}

TextLine& TextLine::AddJsonString(const wchar_t* text) {
    Add(L'"');
    for (; *text != L'\0'; ++text) {
        wchar_t c = *text;
        if (c == L'"' || c == L'\\') {
            Add(L'\\').Add(c);
        } else if (c >= 0x20 && c < 0x7F) {
            Add(c);
        } else {
            Add(L"\\u");
            for (int shift = 12; shift >= 0; shift -= 4) {
                Add(kLowerHexDigits[(c >> shift) & 0xF]);
            }
        }
    }
    return Add(L'"');
}

TextLine& TextLine::AddSystemMessage(DWORD code, const wchar_t* before, const wchar_t* after) {
    wchar_t message[256] = {};
    DWORD length = SystemMessage(code, message);
    return length == 0 ? *this : Add(before).Add(message, length).Add(after);
}

TextLine& TextLine::PadTo(size_t column) {
    while (m_length < column && Reserve(1)) {
        m_text[m_length++] = L' ';
    }
    m_text[m_length] = L'\0';
    return *this;
}

void TextLine::Clear() {
    m_length = 0;
    m_text[0] = L'\0';
}
