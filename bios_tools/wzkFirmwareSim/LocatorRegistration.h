// Installs the simulator as the WMI locator's in-process server of a Wine
// prefix (what regsvr32 does through DllRegisterServer) and puts the previous
// registration back exactly (DllUnregisterServer).
#pragma once

#include <windows.h>

#include <string>

namespace sim {

// Refuses anywhere but under Wine, saying why in a message box: on Windows it
// would replace the system's own WMI locator for every program.
HRESULT RegisterAsLocator(const std::wstring& dllPath);
// Restores what RegisterAsLocator found; does nothing when it saved nothing.
HRESULT UnregisterAsLocator();

} // namespace sim
