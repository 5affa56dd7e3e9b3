#include "MenuTest.h"

#include "common/UniqueHandle.h"

#include <cstdio>

const wchar_t kInstanceMutex[] = L"VMENU_MutexToRunAUniqueInstance";
const wchar_t kCloserMutex[] = L"CloseVMENU_MutexToRunAUniqueInstance";

bool NamedMutexExists(const wchar_t* name) {
    UniqueKernelHandle mutex(::OpenMutexW(SYNCHRONIZE, FALSE, name));
    return static_cast<bool>(mutex);
}

RECT CentredOnScreen(int width, int height) {
    const int left = ::GetSystemMetrics(SM_CXSCREEN) / 2 - width / 2;
    const int top = ::GetSystemMetrics(SM_CYSCREEN) / 2 - height / 2;
    return RECT{left, top, left + width, top + height};
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
    Picture shot;
    auto allMatch = [&] {
        shot = ScreenPicture(area);
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
        const Colour actual = shot.At(pixel.at);
        EXPECT_TRUE(ColoursNear(pixel.expected, actual, pixel.tolerance))
            << pixel.what << " at (" << pixel.at.x << ", " << pixel.at.y << "): expected "
            << Colour(pixel.expected) << " within " << pixel.tolerance << ", actual " << actual;
    }
}

COLORREF GradientAt(COLORREF bottom, int y, int height) {
    auto channel = [&](int b) { return 255 + (b - 255) * y / height; };
    return RGB(channel(GetRValue(bottom)), channel(GetGValue(bottom)), channel(GetBValue(bottom)));
}

OwnWindow::Options Backdrop() {
    OwnWindow::Options options;
    options.colour = kBackdrop;
    options.rect = OwnWindow::ScreenRect();
    options.shownWithoutActivation = true;
    return options;
}

void ProbeMenuTest::ExpectEnded(MenuSession& menu) {
    EXPECT_TRUE(menu.WaitForExit()) << "the menu process is still running";
    EXPECT_FALSE(::IsWindow(menu.Window())) << "the menu window still exists";
    // A crash ends a program with an exception code under Wine.
    EXPECT_EQ(0u, menu.Program().ExitCode()) << std::hex << menu.Program().ExitCode();
}
