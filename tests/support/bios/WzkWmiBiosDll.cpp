#include "WzkWmiBiosDll.h"

#include "tests/support/TestPaths.h"

WzkWmiBiosDll::WzkWmiBiosDll()
    : m_module(::LoadLibraryW(DeliverablePath(L"wzkWmiBios.dll").c_str())) {}

FARPROC WzkWmiBiosDll::Export(const char* name) const {
    return m_module ? ::GetProcAddress(m_module.get(), name) : nullptr;
}

WZKCALLBIOS_FUNCTION WzkWmiBiosDll::CallBios() const {
    return reinterpret_cast<WZKCALLBIOS_FUNCTION>(reinterpret_cast<void*>(Export("wzkCallBios")));
}
