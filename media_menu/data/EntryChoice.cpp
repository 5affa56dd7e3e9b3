#include "EntryChoice.h"

#include "Launcher.h"
#include "MenuEntryList.h"
#include "PathMacros.h"
#include "SettingsStore.h"

ChoiceOutcome HandleEntryChoice(int commandId) {
    UniqueMenuEntryList list;
    // An allocation failure (-1) still leaves the records built so far; the
    // chosen one may be among them, so the count is not looked at.
    LoadMenuEntries(list.put());
    const int index = commandId - kEntryCommandBase;
    MenuEntry* entry = list.get();
    while (entry != nullptr && entry->nIndex != index) {
        entry = entry->pNext;
    }
    if (entry == nullptr) {
        return ChoiceOutcome::NoSuchEntry;
    }
    StoreCurrentSelection(entry->szName);
    ExpandPathMacros(entry->szAssignment);
    return LaunchAssignment(entry->szAssignment) ? ChoiceOutcome::Launched
                                                 : ChoiceOutcome::LaunchFailed;
}
