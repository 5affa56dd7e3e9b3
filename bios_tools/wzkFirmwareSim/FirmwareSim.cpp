// The DLL's entry points: the ones COM uses to create the simulated WMI
// locator, and the ones regsvr32 uses to install and remove it. The DLL stays
// loaded for the life of the process, so the state (configuration, log,
// object counts) is never lost between requests.
#include "LocatorRegistration.h"
#include "SimServices.h"

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (clsid != CLSID_WbemLocator) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    auto factory = new sim::SimClassFactory();
    HRESULT hr = factory->QueryInterface(iid, object);
    factory->Release();
    return hr;
}

extern "C" HRESULT WINAPI DllCanUnloadNow() {
    return S_FALSE;
}

extern "C" HRESULT WINAPI DllRegisterServer() {
    return sim::RegisterAsLocator(sim::OwnPath());
}

extern "C" HRESULT WINAPI DllUnregisterServer() {
    return sim::UnregisterAsLocator(sim::OwnPath());
}
