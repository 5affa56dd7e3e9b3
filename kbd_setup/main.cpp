// kbdsetup: points the PS/2 keyboard port driver at the Japanese 106-key
// layout. No window, no console, no arguments, no message: the exit code is
// the outcome, for the installer and for scripts. All three values are always
// attempted; the code is 0 when all were written, else the registry error of
// the first write that failed (5 for a user without rights to
// HKEY_LOCAL_MACHINE).
#include "WriteRegistryValue.h"

namespace {

const char kParametersKey[] = "SYSTEM\\CurrentControlSet\\Services\\i8042prt\\Parameters";

template <size_t N> LONG WriteText(const char* name, const char (&text)[N]) {
    // N counts the terminating NUL, which the driver expects in the data size.
    return WriteRegistryValue(HKEY_LOCAL_MACHINE, kParametersKey, name, REG_SZ,
                              reinterpret_cast<const BYTE*>(text), N);
}

LONG WriteNumber(const char* name, DWORD value) {
    return WriteRegistryValue(HKEY_LOCAL_MACHINE, kParametersKey, name, REG_DWORD,
                              reinterpret_cast<const BYTE*>(&value), sizeof value);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // A braced list is evaluated in order, and every write runs.
    const LONG results[] = {WriteText("LayerDriver JPN", "KBD106.DLL"),
                            WriteText("OverrideKeyboardIdentifier", "PCAT_106KEY"),
                            WriteNumber("OverrideKeyboardSubtype", 2)};
    for (LONG result : results) {
        if (result != ERROR_SUCCESS) {
            return static_cast<int>(result);
        }
    }
    return 0;
}
