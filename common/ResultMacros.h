// Error macros: a failed HRESULT leaves the function
// with that same HRESULT, so the success path reads straight down and no
// failure is lost on the way out. Holders release what was acquired.
#pragma once

#include <windows.h>

#define RETURN_IF_FAILED(expression)                                                               \
    do {                                                                                           \
        const HRESULT hrReturnIfFailed = (expression);                                             \
        if (FAILED(hrReturnIfFailed)) {                                                            \
            return hrReturnIfFailed;                                                               \
        }                                                                                          \
    } while (0)
