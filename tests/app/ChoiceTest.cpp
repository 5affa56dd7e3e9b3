// Choosing an entry with the keyboard or the mouse, and leaving without a
// choice. The launch probe stands in for every started program: it writes
// down its command line and working directory.
#include "MenuTest.h"

namespace {

class MenuAppChoiceTest : public ProbeMenuTest {
protected:
    // "Alpha": a quoted program with arguments; "Beta": an unquoted one.
    void AddProbeEntries() {
        AddEntry(L"Alpha", L"\"" + m_blankProbe + L"\" -a \"b c\"");
        AddEntry(L"Beta", m_plainProbe + L" -x y");
    }
};

TEST_F(MenuAppChoiceTest, EnterOnTheFocusedEntryStoresItLaunchesItAndEnds) {
    AddProbeEntries();
    SetCurrentSelection(L"Beta");
    MenuSession menu;
    ASSERT_TRUE(menu.WaitForMenu());
    ASSERT_EQ(kFirstEntryId + 1, menu.FocusOnceIs(kFirstEntryId + 1));
    menu.PressKey(VK_UP);
    ASSERT_EQ(kFirstEntryId, menu.FocusOnceIs(kFirstEntryId));
    menu.PressKey(VK_RETURN);

    // The text after the closing quote, less the one blank behind it; the
    // shell puts its own blank between program and parameters.
    ExpectStarted(L"\"" + m_blankProbe + L"\" -a \"b c\"", m_blankFolder);
    ExpectEnded(menu);
    EXPECT_EQ(TextValue(L"Alpha"), CurrentSelection());
}

TEST_F(MenuAppChoiceTest, ClickOnAnEntryStoresItLaunchesItAndEnds) {
    AddProbeEntries();
    SetCurrentSelection(L"Alpha");
    MenuSession menu;
    ASSERT_TRUE(menu.WaitForMenu());
    ASSERT_EQ(kFirstEntryId, menu.FocusOnceIs(kFirstEntryId));
    // Another program adds an entry that sorts before the chosen one: the
    // choice still goes by the button's entry, not by its position.
    AddEntry(L"Aardvark", L"");
    menu.ClickChild(kFirstEntryId + 1);

    // Cut after the ".exe": the parameters keep the blank behind it.
    ExpectStarted(L"\"" + m_plainProbe + L"\"  -x y", m_plainFolder);
    ExpectEnded(menu);
    EXPECT_EQ(TextValue(L"Beta"), CurrentSelection());
}

TEST_F(MenuAppChoiceTest, SpaceOnAnEntryWithEmptyAssignmentStoresItAndEndsWithoutLaunching) {
    AddProbeEntries();
    AddEntry(L"Gamma", L"");
    SetCurrentSelection(L"Gamma");
    MenuSession menu;
    ASSERT_TRUE(menu.WaitForMenu());
    ASSERT_EQ(kFirstEntryId + 2, menu.FocusOnceIs(kFirstEntryId + 2));
    menu.PressKey(VK_SPACE);
    ExpectEnded(menu);
    EXPECT_EQ(TextValue(L"Gamma"), CurrentSelection());
    EXPECT_TRUE(NothingStarted());
}

TEST_F(MenuAppChoiceTest, EscapeEndsWithoutStoringOrLaunching) {
    AddProbeEntries();
    SetCurrentSelection(L"Beta");
    const RegistryValue before = CurrentSelection();
    const std::vector<std::wstring> valuesBefore = RegistryValueNames(HKEY_CURRENT_USER, kMediaKey);
    MenuSession menu;
    ASSERT_TRUE(menu.WaitForMenu());
    ASSERT_EQ(kFirstEntryId + 1, menu.FocusOnceIs(kFirstEntryId + 1));
    menu.PressKey(VK_ESCAPE);
    ExpectEnded(menu);
    EXPECT_EQ(before, CurrentSelection());
    EXPECT_EQ(valuesBefore, RegistryValueNames(HKEY_CURRENT_USER, kMediaKey));
    EXPECT_TRUE(NothingStarted());
}

TEST_F(MenuAppChoiceTest, EntryRemovedWhileTheMenuIsOpenIsNeitherStoredNorLaunched) {
    // The entries are read again at the choice; the chosen one is gone.
    AddProbeEntries();
    SetCurrentSelection(L"Beta");
    MenuSession menu;
    ASSERT_TRUE(menu.WaitForMenu());
    ASSERT_EQ(kFirstEntryId + 1, menu.FocusOnceIs(kFirstEntryId + 1));
    DeleteRegistryTree(HKEY_CURRENT_USER, EntryKey(L"Beta"));
    SetCurrentSelection(L"Earlier");
    menu.PressKey(VK_RETURN);
    ExpectEnded(menu);
    EXPECT_EQ(TextValue(L"Earlier"), CurrentSelection());
    EXPECT_TRUE(NothingStarted());
}

} // namespace
