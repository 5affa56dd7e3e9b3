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

// One machine entry into the user's key (open as userMedia): its subkey, and
// its "Assignment" as stored (type and bytes, as a user's own would be read)
// when it fits the menu's text buffer.
LONG CopyMachineEntry(HKEY machineMedia, HKEY userMedia, const wchar_t* name) {
    wchar_t assignment[kTextUnits] = {};
    DWORD type = REG_NONE;
    DWORD size = sizeof assignment;
    if (ReadRegValue(machineMedia, name, kAssignmentValue, &type, assignment, &size) !=
        ERROR_SUCCESS) {
        UniqueRegKey entry;
        return ::RegCreateKeyExW(userMedia, name, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                 KEY_ALL_ACCESS, nullptr, entry.put(), nullptr);
    }
    return WriteRegValue(userMedia, name, kAssignmentValue, type, assignment, size);
}

// Copies the machine's entries into the user's key, in the machine key's
// order; focus receives the entry to focus first. Returns the number copied.
int CopyMachineEntries(wchar_t (&focus)[kTextUnits]) {
    UniqueRegKey machineMedia;
    UniqueRegKey userMedia;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kMachineMediaKeyPath, 0, KEY_READ,
                        machineMedia.put()) != ERROR_SUCCESS ||
        ::RegCreateKeyExW(HKEY_CURRENT_USER, kMediaKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_ALL_ACCESS, nullptr, userMedia.put(), nullptr) != ERROR_SUCCESS) {
        return 0;
    }
    wchar_t wanted[kTextUnits];
    ReadRegText(machineMedia.get(), L"", kDefaultSelectionValue, wanted);
    int copied = 0;
    bool wantedCopied = false;
    for (DWORD i = 0;; ++i) {
        wchar_t name[kTextUnits];
        DWORD nameLength = kTextUnits;
        LONG result = ::RegEnumKeyExW(machineMedia.get(), i, name, &nameLength, nullptr, nullptr,
                                      nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS) {
            break;
        }
        // A name that does not fit the menu's buffer is no entry it could show.
        if (result != ERROR_SUCCESS ||
            CopyMachineEntry(machineMedia.get(), userMedia.get(), name) != ERROR_SUCCESS) {
            continue;
        }
        const bool isWanted = ::StrCmpW(name, wanted) == 0;
        if (copied == 0 || (isWanted && !wantedCopied)) {
            CopyText(focus, kTextUnits, name, nameLength);
            wantedCopied = isWanted;
        }
        ++copied;
    }
    return copied;
}

LONG WriteSelection(const wchar_t* valueName, const wchar_t (&name)[kTextUnits]) {
    return WriteRegValue(HKEY_CURRENT_USER, kMediaKeyPath, valueName, REG_SZ, name,
                         static_cast<DWORD>((TextLength(name, kTextUnits) + 1) * sizeof(wchar_t)));
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
    wchar_t focus[kTextUnits] = {};
    if (CopyMachineEntries(focus) == 0) {
        WriteText(kDefaultEntryKeyPath, L"Name", L"Media Player");
        WriteText(kDefaultEntryKeyPath, kAssignmentValue,
                  L"%ProgramFiles%\\Windows Media Player\\wmplayer.exe");
        WriteText(kDefaultEntryKeyPath, L"IsRemove", L"Yes");
        const DWORD actionId = 0;
        WriteRegValue(HKEY_CURRENT_USER, kDefaultEntryKeyPath, L"ActionID", REG_DWORD, &actionId,
                      sizeof actionId);
        const wchar_t builtIn[] = L"Media Player";
        CopyText(focus, kTextUnits, builtIn, ARRAYSIZE(builtIn) - 1);
    }
    WriteSelection(kDefaultSelectionValue, focus);
    return WriteSelection(kCurrentSelectionValue, focus);
}

void FreeMenuEntries(MenuEntry* head) {
    while (head != nullptr) {
        MenuEntry* next = head->pNext;
        ::GlobalFree(head);
        head = next;
    }
}
