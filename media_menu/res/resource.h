// Resource identifiers of the menu program.
#pragma once

#define IDD_MEDIA_MENU 102 // the menu window's dialog template
#define IDB_LOGO 130       // 55 x 21, 256-colour logo shown by the template
#define IDI_PROGRAM 144    // the executable's icon group
#define IDI_MENU_WINDOW 128 // asked for by the window; deliberately absent

#define IDC_FOOTER_MARKER 1000 // hidden placeholder the layout measures and moves
#define IDC_HEADER_MARKER 1001 // hidden frame the layout measures and moves
#define IDC_LOGO 1002          // the visible logo picture
