#include "EntryChoice.h"

#include "Launcher.h"
#include "MenuEntryList.h"
#include "PathMacros.h"
#include "SettingsStore.h"
#include "BoundedText.h"

ChoiceOutcome HandleEntryChoice(const wchar_t* name) {
    if (name == nullptr || !IsTerminatedWithin(name, kTextUnits)) {
        return ChoiceOutcome::NoSuchEntry;
    }
    UniqueMenuEntryList list;
    // An allocation failure (-1) still leaves the records built so far; the
    // chosen one may be among them, so the count is not looked at.
    LoadMenuEntries(list.put());
    MenuEntry* entry = list.get();
    // Subkey names compare as the registry compares them: without case.
    while (entry != nullptr &&
           ::CompareStringOrdinal(entry->szName, -1, name, -1, TRUE) != CSTR_EQUAL) {
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
