// Registry content that other software may leave behind: very many entries,
// the longest possible entry name, assignments of the wrong type or without
// a terminator, an overlong "CurrentSelection". The menu must open, work,
// and end without a crash, also when such an entry is chosen.
#include "MenuTest.h"

namespace {

std::wstring NameOfLength(size_t length) {
    std::wstring name;
    while (name.size() < length) {
        name += L"Long name " + std::to_wstring(name.size()) + L" ";
    }
    name.resize(length);
    return name;
}

using MenuAppBadRegistryTest = ProbeMenuTest;

class MenuAppThreeHundredEntriesTest : public ProbeMenuTest {
protected:
    void SetUp() override {
        ProbeMenuTest::SetUp();
        m_names = NumberedNames(300, 3);
        for (const std::wstring& name : m_names) {
            AddEntry(name, L"\"" + m_plainProbe + L"\" " + name.substr(6));
        }
    }
    std::vector<std::wstring> m_names;
};

TEST_F(MenuAppThreeHundredEntriesTest, MenuScrollsAndAChosenEntryLaunches) {
    SetCurrentSelection(L"Entry 002");
    MenuSession menu;
    ASSERT_TRUE(menu.WaitForMenu());
    ASSERT_EQ(kFirstEntryId + 1, menu.FocusOnceIs(kFirstEntryId + 1));
    // Every entry has its button; the first ones are shown, the last not.
    EXPECT_EQ(L"Entry 300", menu.Child(kFirstEntryId + 299).text);
    EXPECT_FALSE(menu.Child(kFirstEntryId + 299).visible);
    EXPECT_TRUE(menu.Child(kFirstEntryId).visible);
    EXPECT_TRUE(menu.Child(kScrollDownId).visible);
    menu.PressKey(VK_RETURN);
    ExpectStarted(L"\"" + m_plainProbe + L"\" 002", m_plainFolder);
    ExpectEnded(menu);
    EXPECT_EQ(TextValue(L"Entry 002"), CurrentSelection());
}

TEST_F(MenuAppThreeHundredEntriesTest, ChoosingAnEntryPastTheCommandRangeDoesNothing) {
    // Entry 250 carries the command 481, beyond the handled 232 to 430.
    SetCurrentSelection(L"Entry 250");
    MenuSession menu;
    ASSERT_TRUE(menu.WaitForMenu());
    ASSERT_EQ(kFirstEntryId + 249, menu.FocusOnceIs(kFirstEntryId + 249));
    menu.PressKey(VK_RETURN);
    // Escape's WM_CLOSE is posted after Enter's command: had the command been
    // handled, its launch would have happened by the time the menu ends.
    menu.PressKey(VK_ESCAPE);
    ExpectEnded(menu);
    EXPECT_EQ(TextValue(L"Entry 250"), CurrentSelection());
    EXPECT_TRUE(NothingStarted());
}

TEST_F(MenuAppBadRegistryTest, LongestPossibleEntryNameIsShownAndChosen) {
    const std::wstring name = NameOfLength(255);
    AddEntry(name, L"\"" + m_plainProbe + L"\" long");
    SetCurrentSelection(name);
    MenuSession menu;
    ASSERT_TRUE(menu.WaitForMenu());
    ASSERT_EQ(kFirstEntryId, menu.FocusOnceIs(kFirstEntryId));
    EXPECT_EQ(name, menu.Child(kFirstEntryId).text);
    menu.PressKey(VK_RETURN);
    ExpectStarted(L"\"" + m_plainProbe + L"\" long", m_plainFolder);
    ExpectEnded(menu);
    EXPECT_EQ(TextValue(name), CurrentSelection());
}

// One stored "Assignment" that is not a proper text, and what choosing its
// entry must start: the probe (with no parameters), or nothing.
struct BadAssignment {
    const char* name;
    DWORD type;
    enum Content { ProbePath, Dword, FullBufferUnterminated, TooLong } content;
    bool terminated;
    bool launchesProbe;
};

std::ostream& operator<<(std::ostream& out, const BadAssignment& bad) {
    return out << bad.name;
}

class MenuAppBadAssignmentTest : public ProbeMenuTest,
                                 public ::testing::WithParamInterface<BadAssignment> {
protected:
    std::vector<BYTE> Bytes(const BadAssignment& bad) const {
        std::wstring text;
        switch (bad.content) {
        case BadAssignment::ProbePath:
            text = m_plainProbe;
            break;
        case BadAssignment::Dword: {
            const DWORD value = 0x00410042; // the units L'B', L'A'
            return std::vector<BYTE>(reinterpret_cast<const BYTE*>(&value),
                                     reinterpret_cast<const BYTE*>(&value) + sizeof value);
        }
        case BadAssignment::FullBufferUnterminated:
            text = m_plainProbe + std::wstring(260 - m_plainProbe.size(), L'x');
            break;
        case BadAssignment::TooLong:
            text = std::wstring(300, L'y');
            break;
        }
        const BYTE* bytes = reinterpret_cast<const BYTE*>(text.c_str());
        return std::vector<BYTE>(bytes, bytes + (text.size() + (bad.terminated ? 1 : 0)) *
                                                    sizeof(wchar_t));
    }
};

TEST_P(MenuAppBadAssignmentTest, ChosenEntryIsStoredAndTheMenuEnds) {
    const BadAssignment& bad = GetParam();
    const std::vector<BYTE> bytes = Bytes(bad);
    WriteRegistryBytes(HKEY_CURRENT_USER, EntryKey(L"Bad"), L"Assignment", bad.type, bytes.data(),
                       static_cast<DWORD>(bytes.size()));
    AddEntry(L"Good", m_plainProbe);
    SetCurrentSelection(L"Bad");
    MenuSession menu;
    ASSERT_TRUE(menu.WaitForMenu());
    ASSERT_EQ(kFirstEntryId, menu.FocusOnceIs(kFirstEntryId));
    EXPECT_EQ(L"Bad", menu.Child(kFirstEntryId).text);
    EXPECT_EQ(L"Good", menu.Child(kFirstEntryId + 1).text);
    menu.PressKey(VK_RETURN);
    ExpectEnded(menu);
    EXPECT_EQ(TextValue(L"Bad"), CurrentSelection());
    if (bad.launchesProbe) {
        ExpectStarted(L"\"" + m_plainProbe + L"\"", m_plainFolder);
    } else {
        EXPECT_TRUE(NothingStarted()) << "something was started";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Assignments, MenuAppBadAssignmentTest,
    ::testing::Values(
        // The type is never checked: bytes that spell a path are that path.
        BadAssignment{"BinaryPath", REG_BINARY, BadAssignment::ProbePath, false, true},
        BadAssignment{"UnterminatedText", REG_SZ, BadAssignment::ProbePath, false, true},
        BadAssignment{"ExpandableText", REG_EXPAND_SZ, BadAssignment::ProbePath, true, true},
        BadAssignment{"Dword", REG_DWORD, BadAssignment::Dword, false, false},
        // 260 units and no terminator: cut to 259, which names nothing
        // (Windows), or unreadable, so empty (Wine wants room for a
        // terminator).
        BadAssignment{"FullBufferUnterminated", REG_SZ, BadAssignment::FullBufferUnterminated,
                      false, false},
        // Longer than the buffer: unreadable, so empty.
        BadAssignment{"TooLong", REG_SZ, BadAssignment::TooLong, true, false}),
    [](const ::testing::TestParamInfo<BadAssignment>& info) { return info.param.name; });

TEST_F(MenuAppBadRegistryTest, CurrentSelectionLongerThan259UnitsCountsAsFirstRun) {
    AddEntries({L"Alpha", L"Beta"});
    SetCurrentSelection(std::wstring(300, L'z'));
    MenuSession menu;
    // The first-run values join the entries, and their entry is current.
    ASSERT_TRUE(menu.WaitForMenu());
    ASSERT_EQ(kFirstEntryId + 2, menu.FocusOnceIs(kFirstEntryId + 2));
    EXPECT_EQ(L"Media Player", menu.Child(kFirstEntryId + 2).text);
    EXPECT_EQ(TextValue(L"Media Player"), CurrentSelection());
    EXPECT_EQ(TextValue(L"Media Player"),
              ReadRegistryValue(HKEY_CURRENT_USER, kMediaKey, L"DefaultSelection"));
    EXPECT_EQ((std::vector<std::wstring>{L"Alpha", L"Beta", L"Media Player"}),
              RegistrySubKeyNames(HKEY_CURRENT_USER, kMediaKey));
    menu.PressKey(VK_ESCAPE);
    ExpectEnded(menu);
}

TEST_F(MenuAppBadRegistryTest, CurrentSelectionFillingTheBufferWithoutTerminatorIsNoFirstRun) {
    AddEntries({L"Alpha", L"Beta"});
    // Stored as bytes: a text type without room for a terminator counts as
    // too long under Wine (Windows fills all 520 bytes), which would make
    // this a first run there.
    const std::wstring full(260, L'z');
    WriteRegistryBytes(HKEY_CURRENT_USER, kMediaKey, L"CurrentSelection", REG_BINARY, full.data(),
                       static_cast<DWORD>(full.size() * sizeof(wchar_t)));
    const RegistryValue before = CurrentSelection();
    MenuSession menu;
    ASSERT_TRUE(menu.WaitForMenu());
    EXPECT_EQ((std::vector<std::wstring>{L"Alpha", L"Beta"}),
              RegistrySubKeyNames(HKEY_CURRENT_USER, kMediaKey));
    EXPECT_EQ(L"Alpha", menu.Child(kFirstEntryId).text);
    EXPECT_EQ(L"Beta", menu.Child(kFirstEntryId + 1).text);
    menu.Post(WM_CLOSE);
    ExpectEnded(menu);
    EXPECT_EQ(before, CurrentSelection());
}

} // namespace
