#pragma once

#include <windows.h>

// Creates or opens root\subKey and sets one value through the ANSI registry
// functions. Returns the registry error code, ERROR_SUCCESS (0) when written.
LONG WriteRegistryValue(HKEY root, const char* subKey, const char* valueName, DWORD type,
                        const BYTE* data, DWORD dataSize);
