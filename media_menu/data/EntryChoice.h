// The data side of choosing a menu entry: the window's command handler calls
// this and then closes the menu whatever it returns.
#pragma once

enum class ChoiceOutcome {
    NoSuchEntry,  // no entry of that name any more: nothing stored or launched
    Launched,     // launched, or nothing to launch (empty assignment)
    LaunchFailed, // stored as "CurrentSelection", but the launch failed
};

// Loads the entries afresh, finds the one named name (the caption of the
// chosen button: matching by name, not by position, keeps the choice right
// when another program adds or removes entries while the menu is open),
// stores its name as "CurrentSelection" (before launching, whatever the
// launch then does), expands its assignment's macros in memory, launches it
// and frees the list. No entry of that name: nothing is stored or launched.
ChoiceOutcome HandleEntryChoice(const wchar_t* name);
