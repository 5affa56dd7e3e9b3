// The most input or output bytes one BIOS request may carry: what wzkbios
// sends or asks for at most, and so the most "Data" bytes a simulator
// scenario may give an answer.
#pragma once

#include <windows.h>

constexpr ULONG kMaxRequestBytes = 65536;
