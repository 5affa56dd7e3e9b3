// kbdsetup: points the PS/2 keyboard port driver at the Japanese 106-key
// layout. No window, no console, no arguments; errors are swallowed (a user
// without rights to HKEY_LOCAL_MACHINE simply gets nothing written).
#include "WriteRegistryValue.h"

namespace {

const char kParametersKey[] = "SYSTEM\\CurrentControlSet\\Services\\i8042prt\\Parameters";

template <size_t N> void WriteText(const char* name, const char (&text)[N]) {
    // N counts the terminating NUL, which the driver expects in the data size.
    WriteRegistryValue(HKEY_LOCAL_MACHINE, kParametersKey, name, REG_SZ,
                       reinterpret_cast<const BYTE*>(text), N);
}

void WriteNumber(const char* name, DWORD value) {
    WriteRegistryValue(HKEY_LOCAL_MACHINE, kParametersKey, name, REG_DWORD,
                       reinterpret_cast<const BYTE*>(&value), sizeof value);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    WriteText("LayerDriver JPN", "KBD106.DLL");
    WriteText("OverrideKeyboardIdentifier", "PCAT_106KEY");
    WriteNumber("OverrideKeyboardSubtype", 2);
    return 0;
}
