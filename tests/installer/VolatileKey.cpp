// volatile_key KEY: makes HKEY_LOCAL_MACHINE\KEY anew as a volatile key,
// which refuses every lasting subkey. The installer cycle uses it to make
// kbdsetup's writes fail; the key lasts as long as the Wine server.
#include "common/UniqueHandle.h"

#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        return 2;
    }
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, argv[1]);
    ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, argv[1]);
    UniqueRegKey key;
    return ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, argv[1], 0, nullptr, REG_OPTION_VOLATILE,
                             KEY_ALL_ACCESS, nullptr, key.put(), nullptr) == ERROR_SUCCESS
               ? 0
               : 1;
}
