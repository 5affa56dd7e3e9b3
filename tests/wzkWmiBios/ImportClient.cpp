// A client program as a customer would build it with mingw: the header and
// libwzkWmiBios.dll.a. It calls every export and reports mismatches through
// its exit code (bits listed in WmiBiosExportsTest.cpp).
#include "wzkWmiBios.h"

#include <objbase.h>

#include <cstdio>
#include <cstring>

int main() {
    int failures = 0;
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const BYTE input[4] = {0x10, 0x32, 0x54, 0x76};
    BYTE output[4] = {};
    LONG returnCode = 0;
    // The simulated firmware answers with the command and echoes the input.
    HRESULT hr = wzkCallBios(0x77, 1, sizeof input, sizeof output, &returnCode, input, output);
    std::printf("wzkCallBios: hr 0x%08lX, return code %ld\n", static_cast<unsigned long>(hr),
                returnCode);
    failures |= hr == S_OK ? 0 : 1;
    failures |= returnCode == 0x77 ? 0 : 2;
    failures |= std::memcmp(input, output, sizeof input) == 0 ? 0 : 4;
    ::CoUninitialize();

#ifndef _WIN64 // the 64-bit build exports wzkCallBios alone
    std::printf("fnwzkWmiBios %d, nwzkWmiBios %d\n", fnwzkWmiBios(), nwzkWmiBios);
    failures |= fnwzkWmiBios() == 42 ? 0 : 8;
    failures |= nwzkWmiBios == 0 ? 0 : 16;
    CwzkWmiBios first;
    CwzkWmiBios second;
    failures |= &(first = second) == &first ? 0 : 32;
#endif
    return failures;
}
