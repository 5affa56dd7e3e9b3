#include "MenuEntryList.h"

#include "SettingsStore.h"

#include <shlwapi.h>

namespace {

const wchar_t kDefaultEntryKeyPath[] = L"SOFTWARE\\WZK\\Veltrane\\Media\\Media Player";

template <size_t N>
LONG WriteText(const wchar_t* subKey, const wchar_t* valueName, const wchar_t (&text)[N]) {
    // N counts the terminator: (length + 1) x 2 bytes.
    return WriteRegValue(HKEY_CURRENT_USER, subKey, valueName, REG_SZ, text, N * sizeof(wchar_t));
}

} // namespace

bool ReadCurrentSelectionOrWriteDefaults(wchar_t (&current)[kTextUnits]) {
    if (ReadRegText(HKEY_CURRENT_USER, kMediaKeyPath, kCurrentSelectionValue, current) ==
        ERROR_SUCCESS) {
        return true;
    }
    WriteDefaultEntries();
    return false;
}

int LoadMenuEntries(MenuEntry** head) {
    // After a first run the text is empty, which names no subkey: nothing is
    // current in the load that had to write the first-run values.
    wchar_t current[kTextUnits];
    ReadCurrentSelectionOrWriteDefaults(current);

    UniqueRegKey mediaKey;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kMediaKeyPath, 0, KEY_READ, mediaKey.put()) !=
        ERROR_SUCCESS) {
        return 0;
    }

    MenuEntry** link = head;
    int count = 0;
    for (DWORD i = 0;; ++i) {
        wchar_t name[kTextUnits];
        DWORD nameLength = kTextUnits;
        if (::RegEnumKeyExW(mediaKey.get(), i, name, &nameLength, nullptr, nullptr, nullptr,
                            nullptr) != ERROR_SUCCESS) {
            // ERROR_NO_MORE_ITEMS ends the list; any other error ends it early.
            break;
        }
        auto entry = static_cast<MenuEntry*>(::GlobalAlloc(GPTR, sizeof(MenuEntry)));
        if (entry == nullptr) {
            return -1;
        }
        entry->nIndex = static_cast<int>(i) + 1;
        CopyText(entry->szName, kTextUnits, name, nameLength);
        entry->bCurrent = ::StrCmpW(entry->szName, current) == 0 ? TRUE : FALSE;
        // The entry's subkey, opened below the key already open: the same key
        // as the full path, without composing a path that may exceed 260 units.
        ReadRegText(mediaKey.get(), entry->szName, kAssignmentValue, entry->szAssignment);
        *link = entry;
        link = &entry->pNext;
        ++count;
    }
    return count;
}

LONG WriteDefaultEntries() {
    WriteText(kMediaKeyPath, kCurrentSelectionValue, L"Media Player");
    WriteText(kMediaKeyPath, kDefaultSelectionValue, L"Media Player");
    WriteText(kDefaultEntryKeyPath, L"Name", L"Media Player");
    WriteText(kDefaultEntryKeyPath, kAssignmentValue,
              L"%ProgramFiles%\\Windows Media Player\\wmplayer.exe");
    WriteText(kDefaultEntryKeyPath, L"IsRemove", L"Yes");
    const DWORD actionId = 0;
    return WriteRegValue(HKEY_CURRENT_USER, kDefaultEntryKeyPath, L"ActionID", REG_DWORD, &actionId,
                         sizeof actionId);
}

void FreeMenuEntries(MenuEntry* head) {
    while (head != nullptr) {
        MenuEntry* next = head->pNext;
        ::GlobalFree(head);
        head = next;
    }
}
