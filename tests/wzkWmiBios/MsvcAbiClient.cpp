// A client compiled for the platform's standard C++ ABI (clang, MSVC target)
// from wzkWmiBios.h and linked by lld-link against wzkWmiBios.lib: its
// references carry the names that compiler gives the header's declarations,
// and its calls use that ABI (thiscall members, stdcall wzkCallBios). It runs
// without any C runtime; the entry point's result is the exit code, with one
// bit per mismatch (listed in WmiBiosExportsTest.cpp).
#include "wzkWmiBios.h"

extern "C" int ClientMain() {
    int failures = 0;
#ifndef _WIN64 // the 64-bit build exports wzkCallBios alone
    CwzkWmiBios first;
    CwzkWmiBios second;
    failures |= &(first = second) == &first ? 0 : 1;
#endif
    // No COM on this thread: the call must fail cleanly, nothing sent.
    LONG returnCode = 7;
    BYTE output[4] = {9, 9, 9, 9};
    HRESULT hr = wzkCallBios(1, 2, 0, sizeof output, &returnCode, 0, output);
    failures |= hr == static_cast<HRESULT>(0x800401F0L) ? 0 : 2; // CO_E_NOTINITIALIZED
    failures |= returnCode == -1 ? 0 : 4;
    failures |= output[0] == 9 && output[3] == 9 ? 0 : 8;
#ifndef _WIN64
    failures |= fnwzkWmiBios() == 42 ? 0 : 16;
    failures |= nwzkWmiBios == 0 ? 0 : 32;
#endif
    return failures;
}
