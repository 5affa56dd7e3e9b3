#include "PathMacros.h"

#include "ShellFunctions.h"
#include "BoundedText.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <cwchar>

namespace {

// On success the folder functions return the length without the terminator;
// a result of 260 or more means the folder did not fit and was not written.
bool Fits(UINT length) {
    return length != 0 && length < kTextUnits;
}

} // namespace

bool ReplaceMacro(wchar_t* text, const wchar_t* macro, const wchar_t* value) {
    if (macro[0] == L'\0') {
        return false;
    }
    size_t textLength = TextLength(text, kTextUnits);
    size_t valueLength = TextLength(value, kTextUnits);
    if (textLength == kTextUnits || valueLength == kTextUnits) {
        return false;
    }
    wchar_t* found = ::StrStrIW(text, macro);
    if (found == nullptr) {
        return false;
    }
    size_t prefixLength = static_cast<size_t>(found - text);
    size_t macroLength = TextLength(macro, kTextUnits);
    size_t suffixLength = textLength - prefixLength - macroLength;
    size_t resultLength = prefixLength + valueLength + suffixLength;
    if (resultLength >= kTextUnits) {
        return false;
    }
    // Move the suffix (with its terminator) to its new place, then put the
    // value in the gap; both stay inside the 260 units checked above.
    CopyText(found + valueLength, kTextUnits - prefixLength - valueLength, found + macroLength,
             suffixLength);
    wmemcpy(found, value, valueLength);
    return true;
}

void FormatLanguageId(LANGID language, wchar_t* buffer) {
    static const wchar_t kDigits[] = L"0123456789ABCDEF";
    wchar_t digits[4];
    size_t count = 0;
    unsigned value = language;
    do {
        digits[count++] = kDigits[value & 0xF];
        value >>= 4;
    } while (value != 0);
    size_t position = 0;
    buffer[position++] = L'0';
    while (count != 0) {
        buffer[position++] = digits[--count];
    }
    buffer[position] = L'\0';
}

LANGID FormatUiLanguage(wchar_t* buffer) {
    LANGID language = ::GetSystemDefaultUILanguage();
    FormatLanguageId(language, buffer);
    return language;
}

void ExpandPathMacros(wchar_t* text) {
    if (!IsTerminatedWithin(text, kTextUnits)) {
        return;
    }
    // Each value is asked for only when its macro is in the text as it stands
    // at that step, which yields the same text as asking every time.
    auto has = [text](const wchar_t* macro) { return ::StrStrIW(text, macro) != nullptr; };
    wchar_t value[kTextUnits] = {};
    if (has(L"%ProgramFiles%") && ShellGetFolderPath(nullptr, CSIDL_PROGRAM_FILES, nullptr,
                                                     SHGFP_TYPE_DEFAULT, value) == S_OK) {
        ReplaceMacro(text, L"%ProgramFiles%", value);
    }
    if (has(L"%MyPictures%") &&
        ShellGetFolderPath(nullptr, CSIDL_MYPICTURES, nullptr, SHGFP_TYPE_DEFAULT, value) == S_OK) {
        ReplaceMacro(text, L"%MyPictures%", value);
    }
    if (has(L"%WinSysDir%") && Fits(::GetSystemDirectoryW(value, kTextUnits))) {
        ReplaceMacro(text, L"%WinSysDir%", value);
    }
    if ((has(L"%WinDir%") || has(L"%SystemRoot%")) &&
        Fits(::GetWindowsDirectoryW(value, kTextUnits))) {
        ReplaceMacro(text, L"%WinDir%", value);
        ReplaceMacro(text, L"%SystemRoot%", value);
    }
    if (has(L"%LCID%") && FormatUiLanguage(value) != 0) {
        ReplaceMacro(text, L"%LCID%", value);
    }
}
