// A variable of this process' environment, for the shipped code and the
// tests alike.
#pragma once

#include <windows.h>

#include <string>

// The variable's value; false when it is not set (a variable set to the
// empty text is set). One that changes between the two calls reads as empty.
inline bool ReadEnvironmentVariable(const wchar_t* name, std::wstring& value) {
    // The size asked for counts the terminator; 0: no such variable.
    const DWORD size = ::GetEnvironmentVariableW(name, nullptr, 0);
    value.assign(size, L'\0');
    const DWORD length = size != 0 ? ::GetEnvironmentVariableW(name, &value[0], size) : 0;
    value.resize(length < size ? length : 0);
    return size != 0;
}

// The variable's value; empty when it is not set.
inline std::wstring EnvironmentVariable(const wchar_t* name) {
    std::wstring value;
    ReadEnvironmentVariable(name, value);
    return value;
}
