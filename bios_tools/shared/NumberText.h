// Numbers and byte strings as a technician types them: decimal or 0x-hex
// numbers, and bytes as hex digit pairs with optional blanks between whole
// bytes ("01 02 ff" or "0102ff"). wzkbios' command line and the simulator's
// scenario files both read them with these functions, so the two accept
// exactly the same spellings. Header only: the programs are built from
// different character types (UTF-16 arguments, single-byte files).
#pragma once

#include <windows.h>

#include <string_view>

namespace biostext {

enum class TextError { None, Empty, NotANumber, OutOfRange, OddDigits, NotHex, TooManyBytes };

// For messages: "is not a number", ...
inline const char* Describe(TextError error) {
    switch (error) {
    case TextError::None:
        return "is fine";
    case TextError::Empty:
        return "is empty";
    case TextError::NotANumber:
        return "is not a decimal or 0x-hex number";
    case TextError::OutOfRange:
        return "is out of range";
    case TextError::OddDigits:
        return "has a byte with an odd number of hex digits";
    case TextError::NotHex:
        return "has a character that is not a hex digit";
    case TextError::TooManyBytes:
        return "has too many bytes";
    }
    return "is not valid";
}

// 0 to 15 for a hex digit, -1 otherwise.
template <class Char> int HexDigit(Char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

template <class Char> bool IsBlank(Char c) {
    return c == ' ' || c == '\t';
}

template <class Char> bool HasHexPrefix(std::basic_string_view<Char> text) {
    return text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
}

// "123", "-5" or "0x1F", within [min, max]. Digits are counted as they come,
// and a value far past any range stops the count, so no length overflows.
template <class Char>
TextError ParseInteger(std::basic_string_view<Char> text, long long min, long long max,
                       long long& value) {
    if (text.empty()) {
        return TextError::Empty;
    }
    const bool hex = HasHexPrefix(text);
    const bool negative = !hex && text[0] == '-';
    std::basic_string_view<Char> digits = text.substr(hex ? 2 : negative ? 1 : 0);
    if (digits.empty()) {
        return TextError::NotANumber;
    }
    const long long limit = 1LL << 40;
    long long magnitude = 0;
    for (Char c : digits) {
        int digit = HexDigit(c);
        if (digit < 0 || (!hex && digit > 9)) {
            return TextError::NotANumber;
        }
        if (magnitude < limit) {
            magnitude = magnitude * (hex ? 16 : 10) + digit;
        }
    }
    long long number = negative ? -magnitude : magnitude;
    if (number < min || number > max) {
        return TextError::OutOfRange;
    }
    value = number;
    return TextError::None;
}

// A 32-bit value as commands, return codes and HRESULTs are written: decimal
// from -2147483648 to 2147483647, or hex up to 0xFFFFFFFF (the bit pattern).
template <class Char> TextError ParseLong(std::basic_string_view<Char> text, LONG& value) {
    long long number = 0;
    TextError error = HasHexPrefix(text) ? ParseInteger(text, 0, 0xFFFFFFFFLL, number)
                                         : ParseInteger(text, -0x80000000LL, 0x7FFFFFFFLL, number);
    if (error == TextError::None) {
        value = static_cast<LONG>(static_cast<ULONG>(number));
    }
    return error;
}

// Hex digit pairs into bytes[0 .. capacity); blanks may separate whole bytes.
// Empty text is no bytes. A caller's buffer, not a container: wzkbios links
// no part of the C++ library that could throw.
template <class Char>
TextError ParseHexBytes(std::basic_string_view<Char> text, BYTE* bytes, size_t capacity,
                        size_t& count) {
    count = 0;
    size_t i = 0;
    while (i < text.size()) {
        if (IsBlank(text[i])) {
            ++i;
            continue;
        }
        if (HexDigit(text[i]) < 0) {
            return TextError::NotHex;
        }
        if (i + 1 >= text.size() || IsBlank(text[i + 1])) {
            return TextError::OddDigits;
        }
        if (HexDigit(text[i + 1]) < 0) {
            return TextError::NotHex;
        }
        if (count == capacity) {
            return TextError::TooManyBytes;
        }
        bytes[count++] = static_cast<BYTE>(HexDigit(text[i]) * 16 + HexDigit(text[i + 1]));
        i += 2;
    }
    return TextError::None;
}

} // namespace biostext
