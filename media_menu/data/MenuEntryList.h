// The menu entries, read afresh from the registry each time they are needed
// into a singly linked list of records from the global heap.
#pragma once

#include "BoundedText.h"
#include "common/UniqueHandle.h"

#include <windows.h>

struct MenuEntry {
    int nIndex;                       // enumeration position, counted from 1
    wchar_t szName[kTextUnits];       // the subkey's name
    wchar_t szAssignment[kTextUnits]; // "Assignment" as stored; empty when unreadable
    BOOL bCurrent;                    // 1 when szName equals "CurrentSelection" exactly
    MenuEntry* pNext;
};

// Builds the list into *head, which the caller sets to null first. Returns
// the number of records; 0 when the key cannot be opened or has no subkeys
// (*head untouched); -1 when a record cannot be allocated (the records built
// so far stay linked from *head and must still be freed). A "CurrentSelection"
// that cannot be read makes it write the first-run values first.
int LoadMenuEntries(MenuEntry** head);

// Writes the first-run values: the machine's entries (kMachineMediaKeyPath)
// when it has any, focused on its "DefaultSelection" when that names one of
// them, else on the first; otherwise the single built-in entry "Media
// Player". "CurrentSelection" comes last, so that a run ended on the way
// leaves a first run for the next one to complete. Every write is tried;
// returns the error code of the last one.
LONG WriteDefaultEntries();

// Reads "CurrentSelection" into current (zero-filled first); when it cannot
// be read this is a first run: the first-run values are written and current
// stays empty, naming no entry. Returns true when it was read.
bool ReadCurrentSelectionOrWriteDefaults(wchar_t (&current)[kTextUnits]);

// Frees every record from head to the end of the list.
void FreeMenuEntries(MenuEntry* head);

struct MenuEntryListTraits {
    using Handle = MenuEntry*;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle head) noexcept { FreeMenuEntries(head); }
};
// Owns a loaded list: LoadMenuEntries(list.put()).
using UniqueMenuEntryList = UniqueResource<MenuEntryListTraits>;
