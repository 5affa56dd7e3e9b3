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
// Restores what RegisterAsLocator found. When it saved nothing, a simulator
// that is registered (dllPath's file name) gives way to the system's own
// locator; anything else is left as it is.
HRESULT UnregisterAsLocator(const std::wstring& dllPath);

} // namespace sim
