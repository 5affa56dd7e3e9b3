// Error macros: a failure leaves the function with its HRESULT (a Win32
// error code as HRESULT_FROM_WIN32 of it), so the success path reads
// straight down and no failure is lost on the way out. Holders release what
// was acquired.
#pragma once

#include <windows.h>

#define RETURN_IF_FAILED(expression)                                                               \
    do {                                                                                           \
        const HRESULT hrReturnIfFailed = (expression);                                             \
        if (FAILED(hrReturnIfFailed)) {                                                            \
            return hrReturnIfFailed;                                                               \
        }                                                                                          \
    } while (0)

// For functions that return a Win32 error code (LONG or DWORD), such as the
// registry's.
#define RETURN_IF_WIN32_ERROR(expression)                                                          \
    do {                                                                                           \
        const DWORD errorReturnIfWin32Error = static_cast<DWORD>(expression);                      \
        if (errorReturnIfWin32Error != ERROR_SUCCESS) {                                            \
            return HRESULT_FROM_WIN32(errorReturnIfWin32Error);                                    \
        }                                                                                          \
    } while (0)

// For functions that return FALSE and leave the reason to GetLastError.
#define RETURN_IF_WIN32_BOOL_FALSE(expression)                                                     \
    do {                                                                                           \
        if (!(expression)) {                                                                       \
            const DWORD errorReturnIfWin32BoolFalse = ::GetLastError();                            \
            return errorReturnIfWin32BoolFalse != ERROR_SUCCESS                                    \
                       ? HRESULT_FROM_WIN32(errorReturnIfWin32BoolFalse)                           \
                       : E_FAIL;                                                                   \
        }                                                                                          \
    } while (0)
