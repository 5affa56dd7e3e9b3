#include "TextLine.h"

namespace {

const wchar_t kHexDigits[] = L"0123456789ABCDEF";
const wchar_t kLowerHexDigits[] = L"0123456789abcdef";

} // namespace

TextLine& TextLine::Add(const wchar_t* text, size_t length) {
    for (size_t i = 0; i < length && m_length + 1 < kCapacity; ++i) {
        m_text[m_length++] = text[i];
    }
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
    DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                    nullptr, code, 0, message, 256, nullptr);
    while (length > 0 && (message[length - 1] == L'\n' || message[length - 1] == L'\r')) {
        --length;
    }
    return length == 0 ? *this : Add(before).Add(message, length).Add(after);
}

TextLine& TextLine::PadTo(size_t column) {
    while (m_length < column && m_length + 1 < kCapacity) {
        Add(L' ');
    }
    return *this;
}

void TextLine::Clear() {
    m_length = 0;
    m_text[0] = L'\0';
}
