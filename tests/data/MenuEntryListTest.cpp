// Loading the entry list from the prefix's registry, and the first-run values.
#include "DataTestSupport.h"
#include "media_menu/data/EntryChoice.h"
#include "media_menu/data/MenuEntryList.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const std::wstring kMedia = kTestMediaKey;
const std::wstring kMediaPlayer = kMedia + L"\\Media Player";
const wchar_t kStockAssignment[] = L"%ProgramFiles%\\Windows Media Player\\wmplayer.exe";

using MenuEntryListTest = MediaRegistryTest;

std::vector<std::wstring> Sorted(std::vector<std::wstring> names) {
    std::sort(names.begin(), names.end());
    return names;
}

void ExpectText(const std::wstring& key, const wchar_t* name, const std::wstring& text) {
    RegistryValue value = ReadRegistryValue(HKEY_CURRENT_USER, key, name);
    ASSERT_TRUE(value.exists) << Utf8(name);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), value.type) << Utf8(name);
    EXPECT_EQ((text.size() + 1) * 2, value.data.size()) << Utf8(name);
    EXPECT_EQ(text, value.Text()) << Utf8(name);
}

void ExpectFirstRunValues() {
    EXPECT_EQ((std::vector<std::wstring>{L"CurrentSelection", L"DefaultSelection"}),
              Sorted(RegistryValueNames(HKEY_CURRENT_USER, kMedia)));
    EXPECT_EQ(std::vector<std::wstring>{L"Media Player"},
              RegistrySubKeyNames(HKEY_CURRENT_USER, kMedia));
    ExpectText(kMedia, L"CurrentSelection", L"Media Player");
    ExpectText(kMedia, L"DefaultSelection", L"Media Player");
    EXPECT_EQ((std::vector<std::wstring>{L"ActionID", L"Assignment", L"IsRemove", L"Name"}),
              Sorted(RegistryValueNames(HKEY_CURRENT_USER, kMediaPlayer)));
    ExpectText(kMediaPlayer, L"Name", L"Media Player");
    ExpectText(kMediaPlayer, L"Assignment", kStockAssignment);
    ExpectText(kMediaPlayer, L"IsRemove", L"Yes");
    RegistryValue actionId = ReadRegistryValue(HKEY_CURRENT_USER, kMediaPlayer, L"ActionID");
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), actionId.type);
    EXPECT_EQ(4u, actionId.data.size());
    EXPECT_EQ(0u, actionId.Dword());
}

TEST_F(MenuEntryListTest, FirstRunWritesTheSixValuesAndTheNextLoadMarksTheEntry) {
    LoadedList first = LoadEntries();
    ExpectFirstRunValues();
    ASSERT_EQ(1, first.count);
    ASSERT_EQ(1u, first.entries.size());
    EXPECT_EQ(1, first.entries[0].index);
    EXPECT_EQ(L"Media Player", first.entries[0].name);
    EXPECT_EQ(kStockAssignment, first.entries[0].assignment);
    EXPECT_EQ(0, first.entries[0].current); // the text read before the writes was empty

    LoadedList second = LoadEntries();
    ASSERT_EQ(1u, second.entries.size());
    EXPECT_EQ(1, second.entries[0].current);
    ExpectFirstRunValues();
}

TEST_F(MenuEntryListTest, WriteDefaultEntriesOverwritesItsOwnValuesOnly) {
    SetCurrentSelection(L"Other");
    WriteRegistryText(HKEY_CURRENT_USER, kMediaPlayer, L"Assignment", L"changed");
    AddEntry(L"Other", L"x");
    EXPECT_EQ(ERROR_SUCCESS, WriteDefaultEntries());
    ExpectText(kMedia, L"CurrentSelection", L"Media Player");
    ExpectText(kMediaPlayer, L"Assignment", kStockAssignment);
    ExpectText(kMedia + L"\\Other", L"Assignment", L"x");
}

TEST_F(MenuEntryListTest, PresentCurrentSelectionOf0To259UnitsPreventsFirstRunWrites) {
    for (size_t length : {0u, 1u, 259u}) {
        SCOPED_TRACE(length);
        DeleteRegistryTree(HKEY_CURRENT_USER, kMedia);
        SetCurrentSelection(std::wstring(length, L'c'));
        LoadedList list = LoadEntries();
        EXPECT_EQ(0, list.count);
        EXPECT_TRUE(list.entries.empty());
        EXPECT_EQ(std::vector<std::wstring>{L"CurrentSelection"},
                  RegistryValueNames(HKEY_CURRENT_USER, kMedia));
        EXPECT_EQ(std::wstring(length, L'c'), CurrentSelection().Text());
    }
}

TEST_F(MenuEntryListTest, CurrentSelectionOf260UnitsCountsAsUnreadable) {
    for (size_t length : {260u, 300u}) {
        SCOPED_TRACE(length);
        DeleteRegistryTree(HKEY_CURRENT_USER, kMedia);
        SetCurrentSelection(std::wstring(length, L'c'));
        LoadedList list = LoadEntries();
        ExpectFirstRunValues();
        ASSERT_EQ(1u, list.entries.size());
        EXPECT_EQ(0, list.entries[0].current);
    }
}

TEST_F(MenuEntryListTest, ListsSubkeysInOrderAndMarksOnlyTheExactCurrentName) {
    AddEntry(L"Alpha", L"a.exe");
    AddEntry(L"Bravo", L"%WinDir%\\b.exe /x");
    AddEntry(L"Charlie", L"");
    const struct {
        const wchar_t* currentSelection;
        int currentIndex; // 0: none
    } cases[] = {{L"Bravo", 2}, {L"bravo", 0}, {L"Bravo ", 0}, {L"Delta", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.currentSelection));
        SetCurrentSelection(c.currentSelection);
        LoadedList list = LoadEntries();
        ASSERT_EQ(3, list.count);
        ASSERT_EQ(3u, list.entries.size());
        const wchar_t* names[] = {L"Alpha", L"Bravo", L"Charlie"};
        const wchar_t* assignments[] = {L"a.exe", L"%WinDir%\\b.exe /x", L""};
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(i + 1, list.entries[i].index);
            EXPECT_EQ(names[i], list.entries[i].name);
            EXPECT_EQ(assignments[i], list.entries[i].assignment);
            EXPECT_EQ(c.currentIndex == i + 1 ? 1 : 0, list.entries[i].current);
        }
    }
}

TEST_F(MenuEntryListTest, UnreadableAssignmentsAreEmptyAndTheEntryStaysListed) {
    SetCurrentSelection(L"");
    WriteRegistryText(HKEY_CURRENT_USER, kMedia + L"\\NoAssignment", L"Name", L"x");
    WriteRegistryText(HKEY_CURRENT_USER, kMedia + L"\\TooLong", L"Assignment",
                      std::wstring(260, L't'));
    LoadedList list = LoadEntries();
    ASSERT_EQ(2u, list.entries.size());
    EXPECT_EQ(L"NoAssignment", list.entries[0].name);
    EXPECT_EQ(L"", list.entries[0].assignment);
    EXPECT_EQ(L"TooLong", list.entries[1].name);
    EXPECT_EQ(L"", list.entries[1].assignment);
}

TEST_F(MenuEntryListTest, KeyWithoutSubkeysGivesNoRecordAndLeavesHeadNull) {
    SetCurrentSelection(L"Media Player");
    MenuEntry* head = nullptr;
    EXPECT_EQ(0, LoadMenuEntries(&head));
    EXPECT_EQ(nullptr, head);
}

TEST_F(MenuEntryListTest, StoredTextsWithoutTerminatorOrOfOtherTypesStayBounded) {
    // 520 bytes of one text type and another without any zero unit, and an
    // "Assignment" stored as a number: each record keeps a terminated text.
    const std::wstring full(260, L'z');
    WriteRegistryBytes(HKEY_CURRENT_USER, kMedia, L"CurrentSelection", REG_BINARY, full.data(),
                       520);
    WriteRegistryBytes(HKEY_CURRENT_USER, kMedia + L"\\Binary", L"Assignment", REG_BINARY,
                       full.data(), 520);
    WriteRegistryBytes(HKEY_CURRENT_USER, kMedia + L"\\Text", L"Assignment", REG_SZ, full.data(),
                       520);
    WriteRegistryDword(HKEY_CURRENT_USER, kMedia + L"\\Number", L"Assignment", 0x00410042);
    LoadedList list = LoadEntries();
    EXPECT_EQ(0, list.unterminatedFields);
    // The binary "CurrentSelection" was readable: no first-run entry joined.
    ASSERT_EQ(3u, list.entries.size());
    EXPECT_EQ(std::wstring(259, L'z'), list.entries[0].assignment); // Binary
    EXPECT_EQ(L"BA", list.entries[1].assignment);                   // Number
    // Text: cut to 259 units where the platform fills all 520 bytes, or
    // unreadable (empty) where it insists on room for a terminator (Wine).
    EXPECT_TRUE(list.entries[2].assignment.empty() ||
                list.entries[2].assignment == std::wstring(259, L'z'))
        << list.entries[2].assignment.size();

    // Choosing such an entry stores it and fails harmlessly (no browser set).
    EXPECT_EQ(ChoiceOutcome::LaunchFailed, HandleEntryChoice(L"Number"));
    EXPECT_EQ(L"Number", CurrentSelection().Text());
    EXPECT_NE(ChoiceOutcome::NoSuchEntry, HandleEntryChoice(L"Binary"));
    EXPECT_EQ(L"Binary", CurrentSelection().Text());
}

} // namespace
