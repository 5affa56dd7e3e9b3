#include "MediaKey.h"

#include <gtest/gtest.h>

#include <algorithm>

const wchar_t kMediaKey[] = L"SOFTWARE\\WZK\\Veltrane\\Media";

namespace {

std::vector<std::wstring> Sorted(std::vector<std::wstring> names) {
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

std::wstring EntryKey(const std::wstring& name) {
    return std::wstring(kMediaKey) + L"\\" + name;
}

void AddEntry(const std::wstring& name, const std::wstring& assignment) {
    WriteRegistryText(HKEY_CURRENT_USER, EntryKey(name), L"Assignment", assignment);
}

void AddEntries(const std::vector<std::wstring>& names) {
    for (const std::wstring& name : names) {
        AddEntry(name, L"");
    }
}

void SetCurrentSelection(const std::wstring& name) {
    WriteRegistryText(HKEY_CURRENT_USER, kMediaKey, L"CurrentSelection", name);
}

RegistryValue CurrentSelection() {
    return ReadRegistryValue(HKEY_CURRENT_USER, kMediaKey, L"CurrentSelection");
}

void ExpectFirstRunValues() {
    const std::wstring entry = EntryKey(L"Media Player");
    auto read = [](const std::wstring& key, const wchar_t* name) {
        return ReadRegistryValue(HKEY_CURRENT_USER, key, name);
    };
    EXPECT_EQ((std::vector<std::wstring>{L"CurrentSelection", L"DefaultSelection"}),
              Sorted(RegistryValueNames(HKEY_CURRENT_USER, kMediaKey)));
    EXPECT_EQ(std::vector<std::wstring>{L"Media Player"},
              RegistrySubKeyNames(HKEY_CURRENT_USER, kMediaKey));
    EXPECT_EQ(TextValue(L"Media Player"), read(kMediaKey, L"CurrentSelection"));
    EXPECT_EQ(TextValue(L"Media Player"), read(kMediaKey, L"DefaultSelection"));
    EXPECT_EQ((std::vector<std::wstring>{L"ActionID", L"Assignment", L"IsRemove", L"Name"}),
              Sorted(RegistryValueNames(HKEY_CURRENT_USER, entry)));
    EXPECT_EQ(TextValue(L"Media Player"), read(entry, L"Name"));
    EXPECT_EQ(TextValue(L"%ProgramFiles%\\Windows Media Player\\wmplayer.exe"),
              read(entry, L"Assignment"));
    EXPECT_EQ(TextValue(L"Yes"), read(entry, L"IsRemove"));
    EXPECT_EQ(DwordValue(0), read(entry, L"ActionID"));
}
