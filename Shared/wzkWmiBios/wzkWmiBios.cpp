// The library's exports. Only wzkCallBios does anything; the class, function
// and variable are part of the interface that client programs link against.
#include "wzkWmiBios.h"

#include "WmiBiosSession.h"

#include <new>

// The 64-bit build exports wzkCallBios alone (see the header).
#ifndef _WIN64
CwzkWmiBios::CwzkWmiBios() = default;

CwzkWmiBios& CwzkWmiBios::operator=(const CwzkWmiBios&) {
    return *this;
}

// Callers built with the platform's standard compiler take the constructed
// object's address from EAX; mingw's own constructors return nothing, so the
// constructor is exported through this wrapper (thiscall: this in ECX).
extern "C" __attribute__((thiscall)) CwzkWmiBios* ConstructCwzkWmiBios(CwzkWmiBios* self) {
    return new (self) CwzkWmiBios();
}

int nwzkWmiBios = 0;

int fnwzkWmiBios() {
    return 42;
}
#endif

extern "C" HRESULT WINAPI wzkCallBios(LONG command, LONG commandType, ULONG inputSize,
                                      ULONG outputSize, LONG* returnCode, const BYTE* input,
                                      BYTE* output) {
    WmiBiosSession session;
    return session.Call(command, commandType, inputSize, outputSize, returnCode, input, output);
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
