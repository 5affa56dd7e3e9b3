#include "WriteRegistryValue.h"

#include "common/UniqueHandle.h"

LONG WriteRegistryValue(HKEY root, const char* subKey, const char* valueName, DWORD type,
                        const BYTE* data, DWORD dataSize) {
    UniqueRegKey key;
    DWORD disposition = 0;
    LONG result = ::RegCreateKeyExA(root, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                    KEY_ALL_ACCESS, nullptr, key.put(), &disposition);
    if (result != ERROR_SUCCESS) {
        return result;
    }
    return ::RegSetValueExA(key.get(), valueName, 0, type, data, dataSize);
}
