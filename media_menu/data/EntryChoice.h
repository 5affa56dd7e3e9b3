// The data side of choosing a menu entry: the window's command handler calls
// this and then closes the menu whatever it returns.
#pragma once

// Entry buttons carry this base plus the entry's index (counted from 1).
constexpr int kEntryCommandBase = 231;

enum class ChoiceOutcome {
    NoSuchEntry,  // the entry has vanished from the registry: nothing stored or launched
    Launched,     // launched, or nothing to launch (empty assignment)
    LaunchFailed, // stored as "CurrentSelection", but the launch failed
};

// Loads the entries afresh, finds the one whose index is commandId minus
// 231, stores its name as "CurrentSelection" (before launching, whatever the
// launch then does), expands its assignment's macros in memory, launches it
// and frees the list.
ChoiceOutcome HandleEntryChoice(int commandId);
