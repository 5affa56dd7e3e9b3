#include "DataTestSupport.h"

#include "media_menu/data/MenuEntryList.h"

#include <windows.h>

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

bool operator==(const LoadedEntry& a, const LoadedEntry& b) {
    return a.index == b.index && a.name == b.name && a.assignment == b.assignment &&
           a.current == b.current;
}

void PrintTo(const LoadedEntry& entry, std::ostream* out) {
    *out << "{" << entry.index << ", \"" << Utf8(entry.name) << "\", \"" << Utf8(entry.assignment)
         << "\", current " << entry.current << "}";
}

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
