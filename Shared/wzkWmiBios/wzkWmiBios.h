// wzkWmiBios: calls a BIOS function of this machine through the firmware's WMI
// method (class "wzkBIntM" in "\\.\root\wmi").
//
// Link with libwzkWmiBios.dll.a (mingw) or wzkWmiBios.lib; wzkWmiBios.dll must
// be on the program's DLL search path. A 64-bit program uses the 64-bit build
// of the DLL and its import libraries (the x64 folder); it has wzkCallBios
// only, so the C++ declarations below are for 32-bit programs alone.
#pragma once

#include <windows.h>

#ifdef WZKWMIBIOS_EXPORTS
// The DLL's own build: its .def file decides the exported names.
#define WZKWMIBIOS_API
#else
#define WZKWMIBIOS_API __declspec(dllimport)
#endif

#if defined(__cplusplus) && !defined(_WIN64)

// Carries no behaviour: construction and assignment do nothing.
class WZKWMIBIOS_API CwzkWmiBios {
public:
    CwzkWmiBios(void);
    CwzkWmiBios& operator=(const CwzkWmiBios&);
};

// Always 0; the library neither reads nor writes it.
extern WZKWMIBIOS_API int nwzkWmiBios;
// Returns 42.
WZKWMIBIOS_API int fnwzkWmiBios(void);
#endif

#ifdef __cplusplus
extern "C" {
#endif

// The return code for a firmware answer whose output block was not exactly
// the size asked for.
#define WZK_BIOS_ANSWER_SIZE_MISMATCH 3

// Sends one BIOS request: "Command" = command, "CommandType" = commandType and
// inputSize bytes of input, to the firmware method "wzkBIOSInt<outputSize>".
//
// The calling thread must have initialised COM; the library never does.
// returnCode receives the firmware's "rwReturnCode", -1 when no answer was
// obtained, or WZK_BIOS_ANSWER_SIZE_MISMATCH (3) when the firmware's output
// block did not have exactly outputSize bytes (the call then still
// succeeds). output is written only when the firmware returned exactly
// outputSize bytes.
//
// Result: S_OK (or another success code) when the method ran and its answer
// was read; otherwise the failing COM or WMI call's HRESULT, and in addition:
//   E_POINTER            input or output is null while its size is not 0
//                        (nothing is sent);
//   E_OUTOFMEMORY        a string, array or value could not be allocated;
//   E_UNEXPECTED         the method (or another WMI call) reported success
//                        but handed back no object;
//   DISP_E_TYPEMISMATCH  the method's "OutData" holds no object, or its
//                        "rwReturnCode" holds no number.
WZKWMIBIOS_API HRESULT WINAPI wzkCallBios(LONG command, LONG commandType, ULONG inputSize,
                                          ULONG outputSize, LONG* returnCode, const BYTE* input,
                                          BYTE* output);

// The type of wzkCallBios, for clients that load the library at run time
// and look the function up with GetProcAddress.
typedef HRESULT(WINAPI* WZKCALLBIOS_FUNCTION)(LONG command, LONG commandType, ULONG inputSize,
                                              ULONG outputSize, LONG* returnCode, const BYTE* input,
                                              BYTE* output);

#ifdef __cplusplus
}
#endif
