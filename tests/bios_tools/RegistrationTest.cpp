// regsvr32 installs the simulator as the WMI locator's server and regsvr32 /u
// puts back exactly what was there, whatever that was.
#include "FirmwareSim.h"
#include "tests/support/bios/ToolRun.h"

#include "common/UniqueHandle.h"
#include "tests/support/RegistryProbe.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

namespace {

const wchar_t kLocatorKey[] = FIRMWARE_SIM_LOCATOR_KEY;
const wchar_t kServerKey[] = FIRMWARE_SIM_LOCATOR_KEY L"\\InprocServer32";
const wchar_t kBackupKey[] = L"Software\\WZK\\Veltrane\\TestBackupOfTheLocator";

// Copies the locator's key aside and puts it back when the test ends.
class LocatorKeyHolder {
public:
    LocatorKeyHolder() { Copy(HKEY_CLASSES_ROOT, kLocatorKey, HKEY_CURRENT_USER, kBackupKey); }
    ~LocatorKeyHolder() {
        DeleteRegistryTree(HKEY_CLASSES_ROOT, kLocatorKey);
        Copy(HKEY_CURRENT_USER, kBackupKey, HKEY_CLASSES_ROOT, kLocatorKey);
        DeleteRegistryTree(HKEY_CURRENT_USER, kBackupKey);
    }
    LocatorKeyHolder(const LocatorKeyHolder&) = delete;
    LocatorKeyHolder& operator=(const LocatorKeyHolder&) = delete;

private:
    static void Copy(HKEY fromRoot, const wchar_t* from, HKEY toRoot, const wchar_t* to) {
        UniqueRegKey source;
        UniqueRegKey target;
        ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExW(fromRoot, from, 0, KEY_READ, source.put()));
        ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(toRoot, to, 0, nullptr, 0, KEY_ALL_ACCESS,
                                                   nullptr, target.put(), nullptr));
        ASSERT_EQ(ERROR_SUCCESS, ::RegCopyTreeW(source.get(), nullptr, target.get()));
    }
};

struct PriorState {
    const char* what;
    void (*make)();
    int registrations;
    bool systemLocatorAfter = false; // else exactly what was there before
};

// A registration of the simulator that a stopped run left without a saved copy.
void LeaveSimulatorRegistered() {
    WriteRegistryText(HKEY_CLASSES_ROOT, kServerKey, L"", DeliverablePath(L"wzkFirmwareSim.dll"));
}

TEST(RegistrationTest, UnregisteringRestoresTheLocatorKeyExactly) {
    const std::string wineLocator = RegistryTreeText(HKEY_CLASSES_ROOT, kLocatorKey);
    const PriorState cases[] = {
        {"Wine's own locator", [] {}, 1},
        {"Wine's own locator, registered twice", [] {}, 2},
        {"an unusual server key",
         [] {
             DeleteRegistryTree(HKEY_CLASSES_ROOT, kServerKey);
             const wchar_t path[] = L"%SystemRoot%\\system32\\wbem\\wbemprox.dll";
             WriteRegistryBytes(HKEY_CLASSES_ROOT, kServerKey, L"", REG_EXPAND_SZ, path,
                                sizeof path);
             WriteRegistryDword(HKEY_CLASSES_ROOT, kServerKey, L"Extra", 7);
         },
         1},
        {"no server key", [] { DeleteRegistryTree(HKEY_CLASSES_ROOT, kServerKey); }, 1},
        {"a simulator left registered", LeaveSimulatorRegistered, 1, true},
        {"a simulator left registered, only removed", LeaveSimulatorRegistered, 0, true},
    };
    for (const PriorState& c : cases) {
        SCOPED_TRACE(c.what);
        LocatorKeyHolder holder;
        c.make();
        const std::string before = RegistryTreeText(HKEY_CLASSES_ROOT, kLocatorKey);
        for (int i = 0; i < c.registrations; ++i) {
            EXPECT_EQ(0u, RunRegsvr32(false));
        }
        EXPECT_EQ(DeliverablePath(L"wzkFirmwareSim.dll"),
                  ReadRegistryValue(HKEY_CLASSES_ROOT, kServerKey, L"").Text());
        EXPECT_EQ(0u, RunRegsvr32(true));
        EXPECT_EQ(c.systemLocatorAfter ? wineLocator : before,
                  RegistryTreeText(HKEY_CLASSES_ROOT, kLocatorKey));
    }
}

} // namespace
