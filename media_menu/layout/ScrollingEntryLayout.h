// The menu's buttons and where they go: owns one EntryButton per menu entry
// and the two triangular scroll buttons, sizes and shapes the menu window
// from the entry texts and the work area, places every button, and, when the
// entries do not all fit, keeps a window of consecutive entries on screen
// that moves one entry per step. Where the keyboard focus goes meanwhile is
// left to MenuLayout, which builds on the steps this class gives it.
//
// Everything runs on the menu window's thread, inside its message handling.
#pragma once

#include "media_menu/controls/EntryButton.h"
#include "media_menu/layout/EntryButtonList.h"
#include "media_menu/layout/MenuGeometry.h"

#include <windows.h>

class CWnd;

class ScrollingEntryLayout {
public:
    // The corner ellipse of the menu window (both axes) at 96 DPI, unless the
    // profile says otherwise; the window's own painting rounds its corners
    // alike.
    static constexpr int kWindowCorner = 25;

    // dialog: the menu window, parent of every button; not owned. The layout
    // works at the window's DPI as it is now.
    explicit ScrollingEntryLayout(CWnd* dialog);
    ScrollingEntryLayout(const ScrollingEntryLayout&) = delete;
    ScrollingEntryLayout& operator=(const ScrollingEntryLayout&) = delete;

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
    int GetDpi() const { return m_nDpi; }

    // Null for an index outside the list.
    EntryButton* GetEntryAt(int index) const { return m_entries.GetAt(index); }

    // Repaints every entry (hidden ones too), then the down and up buttons.
    void RepaintAll();
    // Destroys and deletes every entry button and empties the list. Always 1.
    int DestroyEntries();

    // The state the operations above maintain.
    int GetEntryCount() const { return m_entries.GetCount(); }
    int GetFirstVisible() const { return m_nFirstVisible; }
    int GetEndVisible() const { return m_nEndVisible; }
    BOOL IsAllFit() const { return m_bAllFit; }
    EntryButton* GetUpButton() { return &m_btnUp; }
    EntryButton* GetDownButton() { return &m_btnDown; }

protected:
    // Protected: a layout is made and deleted as a MenuLayout, never as this
    // class, so the destructor need not be virtual. Destroys the scroll
    // buttons (down, then up) and frees the list; the entry buttons must have
    // gone through DestroyEntries before.
    ~ScrollingEntryLayout();

    // One entry per step towards the top / the end of the list: the range
    // moves, the scroll button of an end it reaches is hidden (or disabled),
    // the other one made usable, the entries in range shown and the window
    // repainted. At the top (end) nothing moves, but the buttons and entries
    // are refreshed all the same.
    void StepUp();
    void StepDown();
    // Moves the visible range down until the entry at index, below it, is its
    // last one, as that many steps of StepDown would. Nothing while no entry
    // is in view.
    void EndRangeAt(int index);
    // Lays the menu out again at dpi: every size, shape and picture is made
    // anew and the list shows its first entries again, the ones scrolling has
    // hidden included.
    void LayOutAgainAt(int dpi);
    CWnd* GetDialog() const { return m_pDialog; }

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
    // The entries' width for a work area workWidth pixels wide.
    int MeasureEntryWidth(int workWidth) const;
    // Creates the scroll buttons, or gives them their triangles at the
    // layout's DPI when they exist.
    void ShapeScrollButtons();
    void FittingLayout(const PassInputs& pass, const WindowPlace& window, bool captioned);
    void ScrollingLayout(const PassInputs& pass, const WindowPlace& window, bool captioned);
    // Creates a button of the menu, in the looks the layout was made with.
    BOOL CreateButton(EntryButton& button, LPCWSTR caption, HRGN shape, UINT id);
    void MoveMenuWindow(const RECT& rect, bool captioned);
    SIZE MarkerSize(int id) const;
    void CentreMarker(int id, const PassInputs& pass, int windowLeft, int top);
    void PlaceEntry(EntryButton* entry, const RECT& slot);
    void MakeUsable(EntryButton* button);
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
    // Asked once for every button the layout makes; each button follows
    // later changes itself (WM_SYSCOLORCHANGE).
    bool m_bHighContrast;
};
