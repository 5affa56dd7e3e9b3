// What the BIOS library tests share: the real DLL loaded from build\bin, the
// firmware simulator registered as the WMI locator class, and COM set up on
// the test's thread.
#pragma once

#include "common/ComApartment.h"
#include "common/UniqueHandle.h"
#include "Shared/wzkWmiBios/wzkWmiBios.h"
#include "FirmwareSim.h"

#include <windows.h>

#include <string>
#include <vector>

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

// The simulator registered as the WMI locator's server for the holder's
// lifetime, by its own DllRegisterServer and DllUnregisterServer (what
// regsvr32 calls): what was registered before is put back exactly.
class FirmwareSimRegistration {
public:
    FirmwareSimRegistration();
    ~FirmwareSimRegistration();
    FirmwareSimRegistration(const FirmwareSimRegistration&) = delete;
    FirmwareSimRegistration& operator=(const FirmwareSimRegistration&) = delete;

    static std::wstring SimulatorPath();
};

// The simulator's DllRegisterServer and DllUnregisterServer, called in this
// process.
HRESULT RegisterFirmwareSim();
HRESULT UnregisterFirmwareSim();

// The simulator's request log, one entry per line.
std::vector<std::string> SimLog();
// The objects the simulator handed out that are still referenced.
std::string SimLiveObjects();
