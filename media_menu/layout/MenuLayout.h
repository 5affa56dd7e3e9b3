// The menu's layout: owns one EntryButton per menu entry and the two
// triangular scroll buttons, sizes and shapes the menu window from the entry
// texts and the work area, places every button, and, when the entries do not
// all fit, keeps a window of consecutive entries on screen that scrolls one
// entry per step. It also moves the keyboard focus through the entries and
// the scroll buttons itself, instead of leaving that to the dialog manager.
//
// Everything runs on the menu window's thread, inside its message handling.
#pragma once

#include "media_menu/controls/EntryButton.h"
#include "media_menu/layout/EntryButtonList.h"
#include "media_menu/layout/MenuGeometry.h"

#include <windows.h>

class CWnd;

class MenuLayout {
public:
    // The corner ellipse of the menu window (both axes) at 96 DPI, unless the
    // profile says otherwise; the window's own painting rounds its corners
    // alike.
    static constexpr int kWindowCorner = 25;
    // What OnNextDlgCtl returns for a request it leaves to the dialog's
    // default processing; 0 means handled.
    static constexpr int kLeaveToDialog = 1;

    // dialog: the menu window, parent of every button; not owned. The layout
    // works at the window's DPI as it is now.
    explicit MenuLayout(CWnd* dialog);
    // Destroys the scroll buttons (down, then up) and frees the list. The
    // entry buttons must have gone through DestroyEntries before.
    ~MenuLayout();
    MenuLayout(const MenuLayout&) = delete;
    MenuLayout& operator=(const MenuLayout&) = delete;

    // While suspended, Layout does nothing. EndUpdate does not lay out.
    void BeginUpdate() { m_bLayoutSuspended = 1; }
    void EndUpdate() { m_bLayoutSuspended = 0; }

    // Creates one entry button (0 x 0 pixels until Layout) and appends it.
    // Always 1.
    int AddEntry(int commandId, LPCWSTR caption);

    // Sizes, positions and shapes the menu window, creates the scroll
    // buttons and places every button. Returns 1 without doing anything while
    // suspended, otherwise 0.
    int Layout();

    // A WM_DPICHANGED: the window has moved to a monitor with another DPI.
    // Lays the menu out again at that DPI (every size, shape and picture is
    // made anew, the list shows its first entries again and a focused entry
    // is brought into view), then moves the window to the top-left corner of
    // the suggested rectangle. The size stays the layout's: the suggestion
    // only scales the old size, which the layout's rules may round or limit
    // otherwise.
    void OnDpiChanged(int dpi, const RECT& suggested);
    int GetDpi() const { return m_nDpi; }

    // Null for an index outside the list.
    EntryButton* GetEntryAt(int index) const { return m_entries.GetAt(index); }

    // Repaints every entry (hidden ones too), then the down and up buttons.
    void RepaintAll();
    // Destroys and deletes every entry button and empties the list. Always 1.
    int DestroyEntries();

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

    // The state the operations above maintain.
    int GetEntryCount() const { return m_entries.GetCount(); }
    int GetFirstVisible() const { return m_nFirstVisible; }
    int GetEndVisible() const { return m_nEndVisible; }
    BOOL IsAllFit() const { return m_bAllFit; }
    EntryButton* GetUpButton() { return &m_btnUp; }
    EntryButton* GetDownButton() { return &m_btnDown; }

private:
    // ShiftEntries' directions: after the visible range moved one entry
    // down (entries move up one slot) or one entry up.
    enum ShiftDirection { kAfterStepDown = 1, kAfterStepUp = 2 };
    // Centres a scroll button horizontally in the menu window at a screen top.
    void PlaceScrollButton(EntryButton* button, int windowLeft, int top);
    // Hides the button, or only disables it when unneeded scroll buttons are
    // to stay visible.
    void HideOrDisableScrollButton(EntryButton* button);
    // Moves every visible entry into its neighbour's slot after the visible
    // range has moved one entry in direction.
    void ShiftEntries(int direction);
    // Hides the entries outside the visible range and shows, repaints and
    // reshapes those inside it.
    void ShowVisibleEntries();
    // Index of the visible entry with control id id, or -1.
    int FindVisibleEntry(int id) const;
    // Index of the entry with control id id among indexes from to end - 1,
    // or -1.
    int FindEntry(int id, int from, int end) const;
    // The entries' width for a work area workWidth pixels wide.
    int MeasureEntryWidth(int workWidth) const;
    // Creates the scroll buttons, or gives them their triangles at the
    // layout's DPI when they exist.
    void ShapeScrollButtons();
    void FittingLayout(const PassInputs& pass, const WindowPlace& window, bool captioned);
    void ScrollingLayout(const PassInputs& pass, const WindowPlace& window, bool captioned);
    void MoveMenuWindow(const RECT& rect, bool captioned);
    SIZE MarkerSize(int id) const;
    void CentreMarker(int id, const PassInputs& pass, int windowLeft, int top);
    void PlaceEntry(EntryButton* entry, const RECT& slot);
    void MakeUsable(EntryButton* button);
    int Focus(CWnd* control);
    int FocusEntry(int index);
    int FocusFirstEnabled(int from, int to, int step);
    RECT ClientRectOf(CWnd* control) const;

    EntryButtonList m_entries;
    BOOL m_bHideUpDownWhenNotNeeded;
    EntryButton m_btnUp;
    EntryButton m_btnDown;
    CWnd* m_pDialog;
    int m_nDpi;
    int m_nTriangleDpi = 0; // the DPI the scroll buttons' triangles were made at
    BOOL m_bLayoutSuspended = 0;
    int m_nFirstVisible = 0;
    int m_nEndVisible = 0;
    BOOL m_bAllFit = 0;
};
