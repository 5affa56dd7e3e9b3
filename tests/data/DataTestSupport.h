// Shared pieces of the menu data suite: the registry keys it owns and a
// snapshot of a loaded entry list.
#pragma once

#include "tests/support/MediaKey.h"
#include "tests/support/RegistryProbe.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

extern const wchar_t kTestMachineKey[]; // HKLM

struct LoadedEntry {
    int index;
    std::wstring name;
    std::wstring assignment;
    int current;
};

bool operator==(const LoadedEntry& a, const LoadedEntry& b);
void PrintTo(const LoadedEntry& entry, std::ostream* out);

struct LoadedList {
    int count = 0;
    std::vector<LoadedEntry> entries;
    // Record fields that were not terminated inside their 260 units.
    int unterminatedFields = 0;
};

// Runs LoadMenuEntries, copies the records out and frees them.
LoadedList LoadEntries();

// Owns HKCU "SOFTWARE\WZK" and HKLM "Software\WZK" for each test.
class MediaRegistryTest : public ::testing::Test {
protected:
    ScratchKey m_userKey{HKEY_CURRENT_USER, L"SOFTWARE\\WZK"};
    ScratchKey m_machineKey{HKEY_LOCAL_MACHINE, L"Software\\WZK"};
};
