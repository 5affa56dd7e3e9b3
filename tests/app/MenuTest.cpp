#include "MenuTest.h"

#include "common/UniqueHandle.h"

#include <cstdio>

const wchar_t kMediaKey[] = L"SOFTWARE\\WZK\\Veltrane\\Media";
const wchar_t kInstanceMutex[] = L"VMENU_MutexToRunAUniqueInstance";
const wchar_t kCloserMutex[] = L"CloseVMENU_MutexToRunAUniqueInstance";

bool NamedMutexExists(const wchar_t* name) {
    UniqueKernelHandle mutex(::OpenMutexW(SYNCHRONIZE, FALSE, name));
    return static_cast<bool>(mutex);
}

void MenuTest::SetUp() {
    // The mutexes exist while any menu, closer or idle process runs.
    ASSERT_TRUE(WaitUntil([] { return !NamedMutexExists(kInstanceMutex); }, 10000))
        << "a menu process of an earlier test is still running";
    ASSERT_TRUE(WaitUntil([] { return !NamedMutexExists(kCloserMutex); }, 10000))
        << "a closing process of an earlier test is still running";
    ASSERT_EQ(nullptr, ::FindWindowW(nullptr, kMenuTitle)) << "a window titled VLTMedia exists";
    ParkPointer();
}

std::wstring MenuTest::EntryKey(const std::wstring& name) {
    return std::wstring(kMediaKey) + L"\\" + name;
}

void MenuTest::AddEntry(const std::wstring& name, const std::wstring& assignment) {
    WriteRegistryText(HKEY_CURRENT_USER, EntryKey(name), L"Assignment", assignment);
}

void MenuTest::SetCurrentSelection(const std::wstring& name) {
    WriteRegistryText(HKEY_CURRENT_USER, kMediaKey, L"CurrentSelection", name);
}

RegistryValue MenuTest::CurrentSelection() {
    return ReadRegistryValue(HKEY_CURRENT_USER, kMediaKey, L"CurrentSelection");
}

void AddEntries(const std::vector<std::wstring>& names) {
    for (const std::wstring& name : names) {
        WriteRegistryText(HKEY_CURRENT_USER, std::wstring(kMediaKey) + L"\\" + name, L"Assignment",
                          L"");
    }
}

std::vector<std::wstring> NumberedNames(int count, int width) {
    std::vector<std::wstring> names;
    for (int i = 1; i <= count; ++i) {
        wchar_t name[32];
        std::swprintf(name, 32, L"Entry %0*d", width, i);
        names.push_back(name);
    }
    return names;
}

void ExpectScreenPixels(const std::vector<PixelExpectation>& pixels, DWORD timeoutMs) {
    RECT area = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    ScreenShot shot;
    auto allMatch = [&] {
        shot = ScreenShot::Take(area);
        for (const PixelExpectation& pixel : pixels) {
            if (!ColoursNear(pixel.expected, shot.At(pixel.at), pixel.tolerance)) {
                return false;
            }
        }
        return true;
    };
    WaitUntil(allMatch, timeoutMs);
    ASSERT_TRUE(shot.Valid()) << "the screen could not be captured";
    for (const PixelExpectation& pixel : pixels) {
        COLORREF actual = shot.At(pixel.at);
        EXPECT_TRUE(ColoursNear(pixel.expected, actual, pixel.tolerance))
            << pixel.what << " at (" << pixel.at.x << ", " << pixel.at.y << "): expected "
            << ColourText(pixel.expected) << " within " << pixel.tolerance << ", actual "
            << ColourText(actual);
    }
}

COLORREF GradientAt(COLORREF bottom, int y, int height) {
    auto channel = [&](int b) { return 255 + (b - 255) * y / height; };
    return RGB(channel(GetRValue(bottom)), channel(GetGValue(bottom)), channel(GetBValue(bottom)));
}

std::wstring ScratchRoot() {
    wchar_t windows[MAX_PATH] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    return std::wstring(windows) + L"\\Temp\\menu_e2e_" + std::to_wstring(::GetCurrentProcessId());
}

void ProbeMenuTest::ExpectStored(const std::wstring& name) {
    RegistryValue value = CurrentSelection();
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), value.type);
    EXPECT_EQ(name, value.Text());
    EXPECT_EQ((name.size() + 1) * sizeof(wchar_t), value.data.size());
}

void ProbeMenuTest::ExpectEnded(MenuSession& menu) {
    EXPECT_TRUE(menu.WaitForExit()) << "the menu process is still running";
    EXPECT_FALSE(::IsWindow(menu.Window())) << "the menu window still exists";
    // A crash ends a program with an exception code under Wine.
    EXPECT_EQ(0u, menu.Program().ExitCode()) << std::hex << menu.Program().ExitCode();
}
