// The program's base name and profile file name, formed from its module path
// the way the platform's application framework forms them: the text after
// the last '\', '/' or ':', cut at its last '.'; the profile file is that
// base name with ".INI" and no folder, which the profile functions then look
// for in the Windows folder.
#pragma once

#include <cwchar>
#include <cstddef>

// Writes the base name into out (capacity units, terminator included).
// Returns false, with out empty, when it does not fit or the input is empty.
inline bool FormBaseName(const wchar_t* modulePath, wchar_t* out, size_t capacity) {
    if (capacity == 0) {
        return false;
    }
    out[0] = L'\0';
    if (modulePath == nullptr) {
        return false;
    }
    const wchar_t* name = modulePath;
    for (const wchar_t* p = modulePath; *p != L'\0'; ++p) {
        if (*p == L'\\' || *p == L'/' || *p == L':') {
            name = p + 1;
        }
    }
    const wchar_t* end = name + wcslen(name);
    for (const wchar_t* p = end; p != name; --p) {
        if (p[-1] == L'.') {
            end = p - 1;
            break;
        }
    }
    size_t length = static_cast<size_t>(end - name);
    if (length == 0 || length >= capacity) {
        return false;
    }
    wmemcpy(out, name, length);
    out[length] = L'\0';
    return true;
}

// Writes the base name followed by ".INI" into out. Returns false, with out
// empty, when the result does not fit.
inline bool FormProfileFileName(const wchar_t* modulePath, wchar_t* out, size_t capacity) {
    static const wchar_t kExtension[] = L".INI";
    const size_t extensionLength = sizeof kExtension / sizeof kExtension[0] - 1;
    if (!FormBaseName(modulePath, out, capacity)) {
        return false;
    }
    size_t length = wcslen(out);
    if (length + extensionLength >= capacity) {
        out[0] = L'\0';
        return false;
    }
    wmemcpy(out + length, kExtension, extensionLength + 1);
    return true;
}
