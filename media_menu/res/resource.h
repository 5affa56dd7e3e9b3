// Resource identifiers of the menu program.
#pragma once

#define IDD_MEDIA_MENU 102 // the menu window's dialog template
#define IDB_LOGO 130       // 55 x 21, 256-colour logo shown by the template
#define IDI_PROGRAM 144    // the executable's icon group
#define IDI_MENU_WINDOW 128 // asked for by the window; deliberately absent

#define IDC_FOOTER_MARKER 1000 // hidden placeholder the layout measures and moves
#define IDC_HEADER_MARKER 1001 // hidden frame the layout measures and moves
#define IDC_LOGO 1002          // the visible logo picture

// The buttons the layout creates at run time. The up button shares 1002 with
// the logo picture on purpose: a click on the logo (STN_CLICKED, code 0, the
// same command a button click sends) scrolls up.
#define IDC_SCROLL_UP IDC_LOGO
#define IDC_SCROLL_DOWN 1003
// Entry buttons carry IDC_ENTRY_BASE + the entry's index (counted from 1);
// the window handles the commands up to IDC_LAST_ENTRY, so entries from the
// 200th on cannot be chosen.
#define IDC_ENTRY_BASE 231
#define IDC_LAST_ENTRY 430

// The scroll buttons' names (string table, in English and Japanese).
#define IDS_SCROLL_UP 2001
#define IDS_SCROLL_DOWN 2002
