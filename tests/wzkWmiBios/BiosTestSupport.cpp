#include "BiosTestSupport.h"

#include "tests/support/RegistryProbe.h"
#include "tests/support/TestPaths.h"

#include <sstream>

namespace {

const wchar_t kLocatorServerKey[] =
    L"CLSID\\{4590F811-1D3A-11D0-891F-00AA004B2E24}\\InprocServer32";
// Wine's own locator, put back if an interrupted run left the simulator
// registered and so nothing else is known.
const wchar_t kWineLocatorServer[] = L"C:\\windows\\system32\\wbem\\wbemprox.dll";

template <class Saved> void Save(const wchar_t* name, Saved& saved) {
    RegistryValue value = ReadRegistryValue(HKEY_CLASSES_ROOT, kLocatorServerKey, name);
    saved.exists = value.exists;
    saved.type = value.type;
    saved.data = value.data;
}

template <class Saved> void Restore(const wchar_t* name, const Saved& saved) {
    if (saved.exists) {
        WriteRegistryBytes(HKEY_CLASSES_ROOT, kLocatorServerKey, name, saved.type,
                           saved.data.data(), static_cast<DWORD>(saved.data.size()));
        return;
    }
    UniqueRegKey key;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, kLocatorServerKey, 0, KEY_SET_VALUE, key.put()) ==
        ERROR_SUCCESS) {
        ::RegDeleteValueW(key.get(), name);
    }
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

} // namespace

WzkWmiBiosDll::WzkWmiBiosDll()
    : m_module(::LoadLibraryW(DeliverablePath(L"wzkWmiBios.dll").c_str())) {}

FARPROC WzkWmiBiosDll::Export(const char* name) const {
    return m_module ? ::GetProcAddress(m_module.get(), name) : nullptr;
}

WZKCALLBIOS_FUNCTION WzkWmiBiosDll::CallBios() const {
    return reinterpret_cast<WZKCALLBIOS_FUNCTION>(reinterpret_cast<void*>(Export("wzkCallBios")));
}

std::wstring FirmwareSimRegistration::SimulatorPath() {
    return DeliverablePath(L"wzkFirmwareSim.dll");
}

FirmwareSimRegistration::FirmwareSimRegistration() {
    Save(L"", m_server);
    Save(L"ThreadingModel", m_threadingModel);
    RegistryValue server = ReadRegistryValue(HKEY_CLASSES_ROOT, kLocatorServerKey, L"");
    if (server.exists && _wcsicmp(server.Text().c_str(), SimulatorPath().c_str()) == 0) {
        std::wstring wine = kWineLocatorServer;
        auto bytes = reinterpret_cast<const BYTE*>(wine.c_str());
        m_server.type = REG_SZ;
        m_server.data.assign(bytes, bytes + (wine.size() + 1) * sizeof(wchar_t));
    }
    WriteRegistryText(HKEY_CLASSES_ROOT, kLocatorServerKey, L"", SimulatorPath());
    // "Both": created in the caller's apartment, STA or MTA, never behind a proxy.
    WriteRegistryText(HKEY_CLASSES_ROOT, kLocatorServerKey, L"ThreadingModel", L"Both");
}

FirmwareSimRegistration::~FirmwareSimRegistration() {
    Restore(L"", m_server);
    Restore(L"ThreadingModel", m_threadingModel);
}

std::vector<std::string> SimLog() {
    std::string text(FirmwareSim_ReadLog(nullptr, 0) + 1, '\0');
    text.resize(FirmwareSim_ReadLog(&text[0], text.size()));
    return Lines(text);
}

std::string SimLiveObjects() {
    std::string text(FirmwareSim_DescribeLiveObjects(nullptr, 0) + 1, '\0');
    text.resize(FirmwareSim_DescribeLiveObjects(&text[0], text.size()));
    return text;
}
