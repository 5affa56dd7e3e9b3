// The few Windows types wzkWmiBios.h uses, for building the client of the
// platform's standard ABI without a Windows SDK (only clang and lld are here).
#pragma once

typedef long LONG;
typedef unsigned long ULONG;
typedef unsigned char BYTE;
typedef long HRESULT;
#define WINAPI __stdcall
