// The firmware simulator as the tests drive it, in their own process: its
// control functions (FirmwareSim.h) from the DLL in build\bin, the same DLL
// registered as the WMI locator's server, and its request log.
#pragma once

#include "FirmwareSim.h"

#include <windows.h>

#include <string>
#include <vector>

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
