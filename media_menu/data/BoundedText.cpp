#include "BoundedText.h"

#include <cwchar>

size_t TextLength(const wchar_t* text, size_t capacity) {
    size_t length = 0;
    while (length < capacity && text[length] != L'\0') {
        ++length;
    }
    return length;
}

bool CopyText(wchar_t* destination, size_t capacity, const wchar_t* source, size_t count) {
    if (count >= capacity) {
        return false;
    }
    // memmove: callers may shift a text within its own buffer.
    wmemmove(destination, source, count);
    destination[count] = L'\0';
    return true;
}
