// Loading the entry list from the prefix's registry, and the first-run values.
#include "DataTestSupport.h"
#include "media_menu/data/EntryChoice.h"
#include "media_menu/data/MenuEntryList.h"
#include "common/UniqueHandle.h"
#include "tests/support/TestPlatform.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const std::wstring kMedia = kMediaKey;
const std::wstring kMediaPlayer = EntryKey(L"Media Player");
const wchar_t kStockAssignment[] = L"%ProgramFiles%\\Windows Media Player\\wmplayer.exe";

using MenuEntryListTest = MediaRegistryTest;

RegistryValue Read(const std::wstring& key, const wchar_t* name) {
    return ReadRegistryValue(HKEY_CURRENT_USER, key, name);
}

TEST_F(MenuEntryListTest, FirstRunWritesTheSixValuesAndTheNextLoadMarksTheEntry) {
    LoadedList first = LoadEntries();
    ExpectFirstRunValues();
    EXPECT_EQ(1, first.count);
    // Not current: the text read before the writes was empty.
    EXPECT_EQ((std::vector<LoadedEntry>{{1, L"Media Player", kStockAssignment, 0}}), first.entries);
    LoadedList second = LoadEntries();
    EXPECT_EQ((std::vector<LoadedEntry>{{1, L"Media Player", kStockAssignment, 1}}),
              second.entries);
    ExpectFirstRunValues();
}

TEST_F(MenuEntryListTest, WriteDefaultEntriesOverwritesItsOwnValuesOnly) {
    SetCurrentSelection(L"Other");
    WriteRegistryText(HKEY_CURRENT_USER, kMediaPlayer, L"Assignment", L"changed");
    AddEntry(L"Other", L"x");
    EXPECT_EQ(ERROR_SUCCESS, WriteDefaultEntries());
    EXPECT_EQ(TextValue(L"Media Player"), CurrentSelection());
    EXPECT_EQ(TextValue(kStockAssignment), Read(kMediaPlayer, L"Assignment"));
    EXPECT_EQ(TextValue(L"x"), Read(EntryKey(L"Other"), L"Assignment"));
}

TEST_F(MenuEntryListTest, CurrentSelectionOfUpTo259UnitsIsReadAndALongerOneMeansFirstRun) {
    for (size_t length : {0u, 1u, 259u, 260u, 300u}) {
        SCOPED_TRACE(length);
        DeleteRegistryTree(HKEY_CURRENT_USER, kMedia);
        SetCurrentSelection(std::wstring(length, L'c'));
        LoadedList list = LoadEntries();
        if (length >= 260) {
            ExpectFirstRunValues();
            EXPECT_EQ((std::vector<LoadedEntry>{{1, L"Media Player", kStockAssignment, 0}}),
                      list.entries);
            continue;
        }
        EXPECT_EQ(0, list.count);
        EXPECT_EQ(std::vector<LoadedEntry>{}, list.entries);
        EXPECT_EQ(std::vector<std::wstring>{L"CurrentSelection"},
                  RegistryValueNames(HKEY_CURRENT_USER, kMedia));
        EXPECT_EQ(TextValue(std::wstring(length, L'c')), CurrentSelection());
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
        EXPECT_EQ(3, list.count);
        EXPECT_EQ(
            (std::vector<LoadedEntry>{{1, L"Alpha", L"a.exe", c.currentIndex == 1},
                                      {2, L"Bravo", L"%WinDir%\\b.exe /x", c.currentIndex == 2},
                                      {3, L"Charlie", L"", c.currentIndex == 3}}),
            list.entries);
    }
}

TEST_F(MenuEntryListTest, UnreadableAssignmentsAreEmptyAndTheEntryStaysListed) {
    SetCurrentSelection(L"");
    WriteRegistryText(HKEY_CURRENT_USER, EntryKey(L"NoAssignment"), L"Name", L"x");
    WriteRegistryText(HKEY_CURRENT_USER, EntryKey(L"TooLong"), L"Assignment",
                      std::wstring(260, L't'));
    EXPECT_EQ((std::vector<LoadedEntry>{{1, L"NoAssignment", L"", 0}, {2, L"TooLong", L"", 0}}),
              LoadEntries().entries);
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
    EXPECT_EQ(TextValue(L"Number"), CurrentSelection());
    EXPECT_NE(ChoiceOutcome::NoSuchEntry, HandleEntryChoice(L"Binary"));
    EXPECT_EQ(TextValue(L"Binary"), CurrentSelection());
}

// The PC maker's entries, HKLM in this 32-bit program's view.
const std::wstring kMachineMedia = L"Software\\WZK\\Veltrane\\Media";

void MachineEntry(const std::wstring& name, const std::wstring& assignment) {
    WriteRegistryText(HKEY_LOCAL_MACHINE, kMachineMedia + L"\\" + name, L"Assignment", assignment);
}

struct MachineListCase {
    const char* what;
    void (*arrange)();
    int count;                        // what the load after the first run finds
    std::vector<LoadedEntry> leading; // its first entries
};

TEST_F(MenuEntryListTest, FirstRunCopiesTheMachinesEntriesFocusedOnItsDefault) {
    const bool win64 = TestPlatform() == "win64";
    const MachineListCase cases[] = {
        {"DefaultSelection names the second",
         [] {
             MachineEntry(L"A", L"a");
             MachineEntry(L"B", L"b");
             WriteRegistryText(HKEY_LOCAL_MACHINE, kMachineMedia, L"DefaultSelection", L"B");
         },
         2,
         {{1, L"A", L"a", 0}, {2, L"B", L"b", 1}}},
        {"DefaultSelection names no entry",
         [] {
             MachineEntry(L"A", L"a");
             WriteRegistryText(HKEY_LOCAL_MACHINE, kMachineMedia, L"DefaultSelection", L"C");
         },
         1,
         {{1, L"A", L"a", 1}}},
        {"300 entries, one too long and one of another type",
         [] {
             for (int i = 100; i < 398; ++i) {
                 MachineEntry(L"E" + std::to_wstring(i), L"e");
             }
             MachineEntry(L"Long", std::wstring(300, L'x'));
             WriteRegistryDword(HKEY_LOCAL_MACHINE, kMachineMedia + L"\\Number", L"Assignment",
                                0x00410042);
         },
         300,
         {{1, L"E100", L"e", 1}}},
        {"a key without entries",
         [] { WriteRegistryText(HKEY_LOCAL_MACHINE, kMachineMedia, L"DefaultSelection", L"A"); },
         1,
         {{1, L"Media Player", kStockAssignment, 1}}},
        {"a run ended before its CurrentSelection",
         [] {
             MachineEntry(L"A", L"a");
             MachineEntry(L"B", L"b");
             AddEntry(L"A", L"a");
         },
         2,
         {{1, L"A", L"a", 1}, {2, L"B", L"b", 0}}},
        {"a user with a CurrentSelection",
         [] {
             MachineEntry(L"A", L"a");
             AddEntry(L"Mine", L"m");
             SetCurrentSelection(L"Mine");
         },
         1,
         {{1, L"Mine", L"m", 1}}},
        // On 64-bit Windows the 64-bit view is another key, which the menu
        // does not read; on 32-bit Windows there is one view.
        {"an entry written in the 64-bit view",
         [] {
             UniqueRegKey key;
             ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, (kMachineMedia + L"\\Native").c_str(), 0,
                               nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, key.put(),
                               nullptr);
             ::RegSetValueExW(key.get(), L"Assignment", 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(L"n"), 4);
         },
         1,
         {win64 ? LoadedEntry{1, L"Media Player", kStockAssignment, 1}
                : LoadedEntry{1, L"Native", L"n", 1}}},
    };
    for (const MachineListCase& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteRegistryTree(HKEY_CURRENT_USER, kMedia);
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, kMachineMedia);
        c.arrange();
        LoadEntries();
        LoadedList list = LoadEntries();
        EXPECT_EQ(c.count, list.count);
        list.entries.resize(std::min(list.entries.size(), c.leading.size()));
        EXPECT_EQ(c.leading, list.entries);
    }
    // The 64-bit view's key is no key of this test's holders on 64-bit Windows.
    UniqueRegKey software;
    ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software", 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY,
                    software.put());
    ::RegDeleteTreeW(software.get(), L"WZK");
}

} // namespace
