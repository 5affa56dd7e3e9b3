// The only paths by which the menu touches the registry and its profile file.
// Registry routines return Win32 error codes (ERROR_SUCCESS when done).
#pragma once

#include "BoundedText.h"

#include <windows.h>

// HKEY_CURRENT_USER: one subkey per menu entry, and the entry chosen last.
extern const wchar_t kMediaKeyPath[];
extern const wchar_t kCurrentSelectionValue[];
extern const wchar_t kDefaultSelectionValue[];
extern const wchar_t kAssignmentValue[];
// HKEY_LOCAL_MACHINE (the 32-bit view: WOW6432Node on 64-bit Windows): the
// page whose opener is taken as the web browser, and the PC maker's entries
// that a user's first run copies (the user's key's shape).
extern const wchar_t kMachineKeyPath[];
extern const wchar_t kBlankPageValue[];
extern const wchar_t kMachineMediaKeyPath[];

// The profile switches and their built-in defaults (the window outline
// defaults are the caller's: the layout passes 25 x 25).
namespace ProfileKey {
constexpr wchar_t kAddCaption[] = L"Add Caption";
constexpr wchar_t kCloseOnDeactivation[] = L"Close On Deactivation";
constexpr wchar_t kAllowMenuReposition[] = L"Allow Menu Reposition";
constexpr wchar_t kHideUpDownWhenNotNeeded[] = L"HideUpDownWhenNotNeeded";
constexpr wchar_t kButtonEllipticalWidth[] = L"Button Elliptical Width";
constexpr wchar_t kButtonEllipticalHeight[] = L"Button Elliptical Height";
constexpr wchar_t kWindowEllipticalWidth[] = L"Window Elliptical Width";
constexpr wchar_t kWindowEllipticalHeight[] = L"Window Elliptical Height";
} // namespace ProfileKey

// Opens root\subKey for reading and queries one value into data, offering
// *size bytes; *size and *type (either may be null) receive what was read. A
// value larger than the offer fails with ERROR_MORE_DATA.
LONG ReadRegValue(HKEY root, const wchar_t* subKey, const wchar_t* valueName, DWORD* type,
                  void* data, DWORD* size);

// Creates root\subKey (and any missing key above it) and sets one value.
LONG WriteRegValue(HKEY root, const wchar_t* subKey, const wchar_t* valueName, DWORD type,
                   const void* data, DWORD size);

// Reads a value as text into a 260-unit buffer: zero-filled, offered whole
// (520 bytes). On failure the text is left empty. A stored value filling all
// 260 units without a terminator keeps its first 259, so the text is always
// terminated inside its buffer whatever the value's type or bytes.
LONG ReadRegText(HKEY root, const wchar_t* subKey, const wchar_t* valueName,
                 wchar_t (&text)[kTextUnits]);

// Writes "CurrentSelection" (REG_SZ, (length + 1) x 2 bytes). A name without
// a terminator within 260 units is refused with ERROR_INVALID_DATA.
LONG StoreCurrentSelection(const wchar_t* name);

// An integer switch from the section "" of the program's profile file, read
// from the file at every call. The file name is the program's base name with
// ".INI", formed once from its module path when the program starts.
int ReadProfileInt(const wchar_t* key, int defaultValue);
