#pragma once

#include "Shared/wzkWmiBios/wzkWmiBios.h"
#include "common/UniqueHandle.h"

#include <windows.h>

// wzkWmiBios.dll from build\bin, as a client program loads it.
class WzkWmiBiosDll {
public:
    WzkWmiBiosDll();
    WzkWmiBiosDll(const WzkWmiBiosDll&) = delete;
    WzkWmiBiosDll& operator=(const WzkWmiBiosDll&) = delete;

    bool Loaded() const { return static_cast<bool>(m_module); }
    FARPROC Export(const char* name) const;
    WZKCALLBIOS_FUNCTION CallBios() const;

private:
    UniqueModule m_module;
};
