// The simulator's control functions, taken from wzkFirmwareSim.dll in
// build\bin: the very file that FirmwareSimRegistration registers, so that COM
// loads the same module for the library and both see one state. (Linked
// through an import library, the DLL would be looked for beside the test
// program in build\tests.)
#include "FirmwareSimulator.h"

#include "tests/support/TestPaths.h"

#include <cstdio>
#include <cstdlib>

namespace {

template <class Function> Function Entry(const char* name) {
    static HMODULE simulator = ::LoadLibraryW(DeliverablePath(L"wzkFirmwareSim.dll").c_str());
    FARPROC entry = simulator != nullptr ? ::GetProcAddress(simulator, name) : nullptr;
    if (entry == nullptr) {
        std::fprintf(stderr, "build\\bin\\wzkFirmwareSim.dll or its %s is missing\n", name);
        std::abort();
    }
    return reinterpret_cast<Function>(reinterpret_cast<void*>(entry));
}

} // namespace

// Each control function calls its namesake in the DLL.
#define FORWARD(Result, name, parameters, arguments)                                               \
    Result name parameters {                                                                       \
        static auto function = Entry<Result(*) parameters>(#name);                                 \
        return function arguments;                                                                 \
    }

FORWARD(void, FirmwareSim_Reset, (void), ())
FORWARD(HRESULT, FirmwareSim_LoadScenario, (const wchar_t* path), (path))
FORWARD(FirmwareSimConfig*, FirmwareSim_Config, (void), ())
FORWARD(size_t, FirmwareSim_ReadLog, (char* buffer, size_t size), (buffer, size))
FORWARD(LONG, FirmwareSim_LiveObjects, (void), ())
FORWARD(size_t, FirmwareSim_DescribeLiveObjects, (char* buffer, size_t size), (buffer, size))
FORWARD(LONG, FirmwareSim_ObjectsHandedOut, (void), ())
FORWARD(LONG, FirmwareSim_OverReleases, (void), ())

HRESULT RegisterFirmwareSim() {
    static auto function = Entry<HRESULT(WINAPI*)()>("DllRegisterServer");
    return function();
}

HRESULT UnregisterFirmwareSim() {
    static auto function = Entry<HRESULT(WINAPI*)()>("DllUnregisterServer");
    return function();
}
