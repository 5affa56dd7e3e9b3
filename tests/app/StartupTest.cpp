#include "MenuSession.h"

#include "tests/support/RegistryProbe.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

namespace {

const wchar_t kMediaKey[] = L"SOFTWARE\\WZK\\Veltrane\\Media";

TEST(StartupTest, FirstRunShowsTheDefaultEntryFocusedInTheMiddle) {
    ScratchKey media(HKEY_CURRENT_USER, kMediaKey);
    MenuSession menu;
    ASSERT_TRUE(menu.WaitForMenu());
    EXPECT_EQ(L"Media Player",
              ReadRegistryValue(HKEY_CURRENT_USER, kMediaKey, L"CurrentSelection").Text());
    ChildWindow entry = menu.Child(232);
    EXPECT_EQ(L"Media Player", entry.text);
    EXPECT_TRUE(WaitUntil([&] { return menu.FocusedId() == 232; }, 5000)) << menu.FocusedId();
    menu.PressKey(VK_ESCAPE);
    EXPECT_TRUE(menu.WaitForExit());
}

} // namespace
