// The menu's registry key, HKCU "SOFTWARE\WZK\Veltrane\Media", as the tests
// fill and read it: one subkey per entry with its "Assignment", and the
// "CurrentSelection" value. The tests that use it own the key (ScratchKey).
#pragma once

#include "RegistryProbe.h"

#include <string>
#include <vector>

extern const wchar_t kMediaKey[];

// The subkey of the entry with this name.
std::wstring EntryKey(const std::wstring& name);
void AddEntry(const std::wstring& name, const std::wstring& assignment);
// Several entries with empty assignments.
void AddEntries(const std::vector<std::wstring>& names);
void SetCurrentSelection(const std::wstring& name);
RegistryValue CurrentSelection();

// The first-run values and nothing else: "CurrentSelection" and
// "DefaultSelection", and the one entry "Media Player" with its four values,
// each of its exact type and size.
void ExpectFirstRunValues();
