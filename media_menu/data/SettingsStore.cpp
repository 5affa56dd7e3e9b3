#include "SettingsStore.h"

#include "common/ModulePath.h"
#include "common/ProfileFileName.h"
#include "common/UniqueHandle.h"

const wchar_t kMediaKeyPath[] = L"SOFTWARE\\WZK\\Veltrane\\Media";
const wchar_t kCurrentSelectionValue[] = L"CurrentSelection";
const wchar_t kDefaultSelectionValue[] = L"DefaultSelection";
const wchar_t kAssignmentValue[] = L"Assignment";
const wchar_t kMachineKeyPath[] = L"Software\\WZK\\Veltrane";
const wchar_t kBlankPageValue[] = L"Blank.htm";
const wchar_t kMachineMediaKeyPath[] = L"Software\\WZK\\Veltrane\\Media";

namespace {

// The profile file name, formed before main runs. Nothing that runs during
// static initialisation reads a setting, so it is ready for every caller.
struct ProfileFile {
    wchar_t name[kTextUnits] = {};

    ProfileFile() {
        wchar_t modulePath[kTextUnits] = {};
        // A cut-off module path would give a wrong base name: better none.
        if (ModuleFilePath(nullptr, modulePath, kTextUnits) == 0) {
            return;
        }
        FormProfileFileName(modulePath, name, kTextUnits);
    }
};

const ProfileFile s_profileFile;

} // namespace

LONG ReadRegValue(HKEY root, const wchar_t* subKey, const wchar_t* valueName, DWORD* type,
                  void* data, DWORD* size) {
    UniqueRegKey key;
    LONG result = ::RegOpenKeyExW(root, subKey, 0, KEY_READ, key.put());
    if (result != ERROR_SUCCESS) {
        return result;
    }
    return ::RegQueryValueExW(key.get(), valueName, nullptr, type, static_cast<BYTE*>(data), size);
}

LONG WriteRegValue(HKEY root, const wchar_t* subKey, const wchar_t* valueName, DWORD type,
                   const void* data, DWORD size) {
    UniqueRegKey key;
    LONG result = ::RegCreateKeyExW(root, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                    KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
    if (result != ERROR_SUCCESS) {
        return result;
    }
    return ::RegSetValueExW(key.get(), valueName, 0, type, static_cast<const BYTE*>(data), size);
}

LONG ReadRegText(HKEY root, const wchar_t* subKey, const wchar_t* valueName,
                 wchar_t (&text)[kTextUnits]) {
    ZeroMemory(text, sizeof text);
    DWORD type = REG_NONE;
    DWORD size = sizeof text;
    LONG result = ReadRegValue(root, subKey, valueName, &type, text, &size);
    if (result != ERROR_SUCCESS) {
        // The platform leaves the buffer undefined when the value is too big.
        ZeroMemory(text, sizeof text);
        return result;
    }
    // Neither REG_SZ nor any other type promises a terminator in the data.
    text[kTextUnits - 1] = L'\0';
    return result;
}

LONG StoreCurrentSelection(const wchar_t* name) {
    size_t length = TextLength(name, kTextUnits);
    if (length == kTextUnits) {
        return ERROR_INVALID_DATA;
    }
    return WriteRegValue(HKEY_CURRENT_USER, kMediaKeyPath, kCurrentSelectionValue, REG_SZ, name,
                         static_cast<DWORD>((length + 1) * sizeof(wchar_t)));
}

int ReadProfileInt(const wchar_t* key, int defaultValue) {
    if (s_profileFile.name[0] == L'\0') {
        return defaultValue;
    }
    return static_cast<int>(::GetPrivateProfileIntW(L"", key, defaultValue, s_profileFile.name));
}
