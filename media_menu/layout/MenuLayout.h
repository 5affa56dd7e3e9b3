// The menu's layout as the menu window drives it: the buttons a
// ScrollingEntryLayout places and scrolls, with the keyboard focus moved
// through them here instead of by the dialog manager. A focus-move request
// walks the visible entries and hands over to a scroll button at either end;
// a scroll keeps the focus on its button, or on the end entry once that
// button has gone; and an entry below the view can be brought into it.
//
// Everything runs on the menu window's thread, inside its message handling.
#pragma once

#include "media_menu/layout/ScrollingEntryLayout.h"

#include <windows.h>

class MenuLayout : public ScrollingEntryLayout {
public:
    // What OnNextDlgCtl returns for a request it leaves to the dialog's
    // default processing; 0 means handled.
    static constexpr int kLeaveToDialog = 1;

    using ScrollingEntryLayout::ScrollingEntryLayout;

    // A WM_DPICHANGED: the window has moved to a monitor with another DPI.
    // Lays the menu out again at that DPI (every size, shape and picture is
    // made anew, the list shows its first entries again and a focused entry
    // is brought into view), then moves the window to the top-left corner of
    // the suggested rectangle. The size stays the layout's: the suggestion
    // only scales the old size, which the layout's rules may round or limit
    // otherwise.
    void OnDpiChanged(int dpi, const RECT& suggested);

    // One entry per step towards the top / the end of the list; at the top
    // (end) nothing moves but the buttons, entries and focus are refreshed.
    void ScrollUp();
    void ScrollDown();
    // Brings the entry with control id id into view when it lies below the
    // visible range: the range moves down until that entry is its last one,
    // as that many steps of ScrollDown would, but without focusing anything.
    // An entry already in view changes nothing.
    void RevealEntry(int id);
    // A WM_NEXTDLGCTL request: wParam 0 moves forward, otherwise backward.
    // Returns kLeaveToDialog when the request is left to the dialog's
    // default processing (no focus at all, or a window handle in wParam), 0
    // when handled here.
    int OnNextDlgCtl(WPARAM wParam, LPARAM lParam);

private:
    // Index of the visible entry with control id id, or -1.
    int FindVisibleEntry(int id) const;
    // Index of the entry with control id id among indexes from to end - 1,
    // or -1.
    int FindEntry(int id, int from, int end) const;
    int Focus(CWnd* control);
    int FocusEntry(int index);
    int FocusFirstEnabled(int from, int to, int step);
};
