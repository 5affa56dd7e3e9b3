#include "LocatorRegistration.h"

#include "common/UniqueHandle.h"

namespace sim {
namespace {

const wchar_t kLocatorClassKey[] = L"CLSID\\{4590F811-1D3A-11D0-891F-00AA004B2E24}";
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

LONG WriteText(HKEY key, const wchar_t* name, const std::wstring& text) {
    return ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

// A copy of the key `from` (below `parent`) as `to`, values and subkeys.
LONG CopyKey(HKEY parent, const wchar_t* from, const wchar_t* to) {
    UniqueRegKey source;
    UniqueRegKey target;
    LONG result = ::RegOpenKeyExW(parent, from, 0, KEY_READ, source.put());
    if (result == ERROR_SUCCESS) {
        result = ::RegCreateKeyExW(parent, to, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                   nullptr, target.put(), nullptr);
    }
    return result == ERROR_SUCCESS ? ::RegCopyTreeW(source.get(), nullptr, target.get()) : result;
}

LONG DeleteKey(HKEY parent, const wchar_t* name) {
    LONG result = ::RegDeleteTreeW(parent, name);
    return result == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : result;
}

// The first registration keeps what was there; a later one (a new build
// path, say) must not save the simulator's own entry over it.
LONG SaveServerKey(HKEY locator) {
    if (KeyExists(locator, kSavedKey)) {
        return ERROR_SUCCESS;
    }
    UniqueRegKey saved;
    LONG result = ::RegCreateKeyExW(locator, kSavedKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                    KEY_ALL_ACCESS, nullptr, saved.put(), nullptr);
    if (result == ERROR_SUCCESS && KeyExists(locator, kServerKey)) {
        result = CopyKey(locator, kServerKey, kSavedServerKey);
    }
    if (result != ERROR_SUCCESS) {
        DeleteKey(locator, kSavedKey);
    }
    return result;
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
    LONG result =
        ::RegCreateKeyExW(HKEY_CLASSES_ROOT, kLocatorClassKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_ALL_ACCESS, nullptr, locator.put(), nullptr);
    if (result == ERROR_SUCCESS) {
        result = SaveServerKey(locator.get());
    }
    if (result == ERROR_SUCCESS) {
        result = ::RegCreateKeyExW(locator.get(), kServerKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                   KEY_ALL_ACCESS, nullptr, server.put(), nullptr);
    }
    if (result == ERROR_SUCCESS) {
        result = WriteText(server.get(), nullptr, dllPath);
    }
    if (result == ERROR_SUCCESS) {
        // Created in the caller's apartment, STA or MTA, never behind a proxy.
        result = WriteText(server.get(), L"ThreadingModel", L"Both");
    }
    return HRESULT_FROM_WIN32(result);
}

HRESULT UnregisterAsLocator() {
    UniqueRegKey locator;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, kLocatorClassKey, 0, KEY_ALL_ACCESS, locator.put()) !=
            ERROR_SUCCESS ||
        !KeyExists(locator.get(), kSavedKey)) {
        return S_OK;
    }
    LONG result = DeleteKey(locator.get(), kServerKey);
    if (result == ERROR_SUCCESS && KeyExists(locator.get(), kSavedServerKey)) {
        result = CopyKey(locator.get(), kSavedServerKey, kServerKey);
    }
    if (result == ERROR_SUCCESS) {
        result = DeleteKey(locator.get(), kSavedKey);
    }
    return HRESULT_FROM_WIN32(result);
}

} // namespace sim
