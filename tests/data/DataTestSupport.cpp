#include "DataTestSupport.h"

#include "media_menu/data/MenuEntryList.h"

#include <windows.h>

const wchar_t kTestMediaKey[] = L"SOFTWARE\\WZK\\Veltrane\\Media";
const wchar_t kTestMachineKey[] = L"Software\\WZK\\Veltrane";

namespace {

std::wstring Bounded(const wchar_t* field, int& unterminated) {
    size_t length = 0;
    while (length < kTextUnits && field[length] != L'\0') {
        ++length;
    }
    if (length == kTextUnits) {
        ++unterminated;
    }
    return std::wstring(field, length);
}

} // namespace

LoadedList LoadEntries() {
    LoadedList list;
    MenuEntry* head = nullptr;
    list.count = LoadMenuEntries(&head);
    for (MenuEntry* entry = head; entry != nullptr; entry = entry->pNext) {
        list.entries.push_back({entry->nIndex, Bounded(entry->szName, list.unterminatedFields),
                                Bounded(entry->szAssignment, list.unterminatedFields),
                                entry->bCurrent});
    }
    FreeMenuEntries(head);
    return list;
}

std::wstring ScratchRootPath() {
    wchar_t windows[MAX_PATH] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    return std::wstring(windows) + L"\\Temp\\menu_data_" + std::to_wstring(::GetCurrentProcessId());
}

void MediaRegistryTest::AddEntry(const std::wstring& name, const std::wstring& assignment) {
    WriteRegistryText(HKEY_CURRENT_USER, std::wstring(kTestMediaKey) + L"\\" + name, L"Assignment",
                      assignment);
}

void MediaRegistryTest::SetCurrentSelection(const std::wstring& name) {
    WriteRegistryText(HKEY_CURRENT_USER, kTestMediaKey, L"CurrentSelection", name);
}

RegistryValue MediaRegistryTest::CurrentSelection() {
    return ReadRegistryValue(HKEY_CURRENT_USER, kTestMediaKey, L"CurrentSelection");
}
