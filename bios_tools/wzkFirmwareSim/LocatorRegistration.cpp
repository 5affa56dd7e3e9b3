#include "LocatorRegistration.h"

#include "FirmwareSim.h"
#include "common/ResultMacros.h"
#include "common/UniqueHandle.h"

namespace sim {
namespace {

const wchar_t kLocatorClassKey[] = FIRMWARE_SIM_LOCATOR_KEY;
const wchar_t kServerKey[] = L"InprocServer32";
// Beside the server key, under the same class: a copy of the server key as
// it was before the first registration. COM reads only the keys it knows.
const wchar_t kSavedKey[] = L"SavedByWzkFirmwareSim";
const wchar_t kSavedServerKey[] = L"SavedByWzkFirmwareSim\\InprocServer32";

const wchar_t kRefusal[] =
    L"wzkFirmwareSim.dll installs itself only in a Wine prefix.\n\n"
    L"On Windows it would replace the system's WMI locator for every program "
    L"on this computer. Nothing was changed.";

bool RunsOnWine() {
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

bool KeyExists(HKEY parent, const wchar_t* name) {
    UniqueRegKey key;
    return ::RegOpenKeyExW(parent, name, 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

HRESULT WriteText(HKEY key, const wchar_t* name, const std::wstring& text) {
    return HRESULT_FROM_WIN32(
        ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                         static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))));
}

HRESULT CreateKey(HKEY parent, const wchar_t* name, UniqueRegKey& key) {
    return HRESULT_FROM_WIN32(::RegCreateKeyExW(parent, name, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                                KEY_ALL_ACCESS, nullptr, key.put(), nullptr));
}

// A copy of the key `from` (below `parent`) as `to`, values and subkeys.
HRESULT CopyKey(HKEY parent, const wchar_t* from, const wchar_t* to) {
    UniqueRegKey source;
    UniqueRegKey target;
    RETURN_IF_WIN32_ERROR(::RegOpenKeyExW(parent, from, 0, KEY_READ, source.put()));
    RETURN_IF_FAILED(CreateKey(parent, to, target));
    return HRESULT_FROM_WIN32(::RegCopyTreeW(source.get(), nullptr, target.get()));
}

HRESULT DeleteKey(HKEY parent, const wchar_t* name) {
    LONG result = ::RegDeleteTreeW(parent, name);
    return result == ERROR_FILE_NOT_FOUND ? S_OK : HRESULT_FROM_WIN32(result);
}

// The server key names a simulator: one whose file has this DLL's name
// (another build of it, left registered by a run that was stopped midway).
bool ServerIsSimulator(HKEY locator, const std::wstring& ownPath) {
    wchar_t server[MAX_PATH] = {};
    DWORD size = sizeof server - sizeof(wchar_t);
    if (::RegGetValueW(locator, kServerKey, nullptr,
                       RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr, server,
                       &size) != ERROR_SUCCESS) {
        return false;
    }
    const wchar_t* serverName = ::wcsrchr(server, L'\\');
    size_t ownName = ownPath.find_last_of(L'\\');
    return serverName != nullptr && ownName != std::wstring::npos &&
           ::lstrcmpiW(serverName + 1, ownPath.c_str() + ownName + 1) == 0;
}

// The system's own locator server, as Windows and Wine register it, as the
// key `name` below the locator class.
HRESULT WriteSystemServer(HKEY locator, const wchar_t* name) {
    wchar_t system[MAX_PATH] = {};
    UINT length = ::GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
    }
    UniqueRegKey server;
    RETURN_IF_FAILED(CreateKey(locator, name, server));
    RETURN_IF_FAILED(
        WriteText(server.get(), nullptr, std::wstring(system) + L"\\wbem\\wbemprox.dll"));
    return WriteText(server.get(), L"ThreadingModel", L"Both");
}

// The first registration keeps what was there; a later one (a new build
// path, say) must not save the simulator's own entry over it. A simulator
// registered without a saved copy stands for the system's locator, which is
// what gets saved then.
HRESULT SaveServerKey(HKEY locator, const std::wstring& ownPath) {
    if (KeyExists(locator, kSavedKey)) {
        return S_OK;
    }
    UniqueRegKey saved;
    RETURN_IF_FAILED(CreateKey(locator, kSavedKey, saved));
    HRESULT hr = S_OK;
    if (ServerIsSimulator(locator, ownPath)) {
        hr = WriteSystemServer(locator, kSavedServerKey);
    } else if (KeyExists(locator, kServerKey)) {
        hr = CopyKey(locator, kServerKey, kSavedServerKey);
    }
    if (FAILED(hr)) {
        DeleteKey(locator, kSavedKey);
    }
    return hr;
}

} // namespace

HRESULT RegisterAsLocator(const std::wstring& dllPath) {
    if (!RunsOnWine()) {
        ::MessageBoxW(nullptr, kRefusal, L"wzkFirmwareSim", MB_OK | MB_ICONERROR);
        return HRESULT_FROM_WIN32(ERROR_NOT_SUPPORTED);
    }
    if (dllPath.empty()) {
        return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    }
    UniqueRegKey locator;
    UniqueRegKey server;
    RETURN_IF_FAILED(CreateKey(HKEY_CLASSES_ROOT, kLocatorClassKey, locator));
    RETURN_IF_FAILED(SaveServerKey(locator.get(), dllPath));
    RETURN_IF_FAILED(CreateKey(locator.get(), kServerKey, server));
    RETURN_IF_FAILED(WriteText(server.get(), nullptr, dllPath));
    // Created in the caller's apartment, STA or MTA, never behind a proxy.
    return WriteText(server.get(), L"ThreadingModel", L"Both");
}

HRESULT UnregisterAsLocator(const std::wstring& dllPath) {
    UniqueRegKey locator;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, kLocatorClassKey, 0, KEY_ALL_ACCESS, locator.put()) !=
        ERROR_SUCCESS) {
        return S_OK;
    }
    if (!KeyExists(locator.get(), kSavedKey)) {
        // Nothing saved, yet a simulator is registered: the system's locator
        // is what belongs there.
        if (!ServerIsSimulator(locator.get(), dllPath)) {
            return S_OK;
        }
        RETURN_IF_FAILED(DeleteKey(locator.get(), kServerKey));
        return WriteSystemServer(locator.get(), kServerKey);
    }
    RETURN_IF_FAILED(DeleteKey(locator.get(), kServerKey));
    if (KeyExists(locator.get(), kSavedServerKey)) {
        RETURN_IF_FAILED(CopyKey(locator.get(), kSavedServerKey, kServerKey));
    }
    return DeleteKey(locator.get(), kSavedKey);
}

} // namespace sim
