// The test host: a dialog built from the menu's real template 102 that drives
// a MenuLayout through the menu window's own wiring, MenuLayoutDialog, and
// nothing else of the menu window. Each test body runs inside the dialog's
// modal loop, in the handling of a posted message, like the menu's own code.
#pragma once

#include "media_menu/layout/MenuLayout.h"
#include "media_menu/layout/MenuLayoutDialog.h"
#include "tests/support/GeometryPrinters.h"
#include "tests/support/MessagePump.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class LayoutHost : public MenuLayoutDialog {
public:
    using Body = std::function<void(LayoutHost&)>;

    // Shows the dialog, runs body inside its modal loop, then destroys what
    // the body left (DestroyEntries, delete) and ends the dialog.
    void Run(Body body);

    // The menu window's build order: constructor, BeginUpdate, one AddEntry
    // per caption with id 232, 233, ..., EndUpdate, Layout.
    MenuLayout& Build(const std::vector<std::wstring>& captions);

    // Posts a focus-move request as the buttons do (wParam 0 next, 1
    // previous) and handles everything that follows.
    void Next() { Request(0, 0); }
    void Previous() { Request(1, 0); }
    void Request(WPARAM wParam, LPARAM lParam);
    // Posts a key-down to the focused window, as the keyboard would.
    void KeyToFocus(UINT key);
    // Posts a command, as a button does for a click or Enter.
    void Command(UINT id);
    // Handles every message waiting in this thread's queue, through the
    // dialog manager as the modal loop does.
    void Pump() { PumpMessages(m_hWnd); }

    // The layout the dialog drives; a test may set one it built itself.
    MenuLayout*& layout = m_pLayout;
    // Focus-move requests that reached the dialog manager.
    int defaultNextDlgCtlCount = 0;

protected:
    BOOL OnInitDialog() override;
    LRESULT OnRun(WPARAM, LPARAM);
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    DECLARE_MESSAGE_MAP()

private:
    Body m_body;
};

// Sets the primary display's work area for this process (which is all that
// SPI_SETWORKAREA changes under Wine) and restores the previous one.
class ScopedWorkArea {
public:
    explicit ScopedWorkArea(const RECT& area);
    ~ScopedWorkArea();
    ScopedWorkArea(const ScopedWorkArea&) = delete;
    ScopedWorkArea& operator=(const ScopedWorkArea&) = delete;

private:
    RECT m_saved = {};
};

RECT WorkArea();

// "Entry 1", "Entry 2", ...: short captions, so the entries are 400 wide.
std::vector<std::wstring> Captions(int count);

// What a layout pass reads, measured by the test itself before the pass
// moves and resizes the template's markers: the inputs to MenuGeometry.
struct Measured {
    PassInputs pass;
    int headerHeight;
};
Measured Measure(HWND dialog, int entryWidth);

// Every window where MenuGeometry puts it for what was measured: the menu
// window; the markers (hidden) and the scroll buttons centred on their rows,
// the up button hidden and the down one usable only when the list scrolls;
// each visible entry in its slot, shown and reshaped; the other entries
// hidden; the visible range.
void ExpectPlaced(LayoutHost& host, const Measured& measured);

// What the tests look at.
RECT ScreenRectOf(HWND window);
// A child's window rectangle in its parent's client coordinates.
RECT ClientRectIn(HWND parent, HWND child);
// The bounding box of a window's region; an empty box when it has none.
RECT RegionBoxOf(HWND window);
bool HasWindowRegion(HWND window);
// The box of the rounded shape an entry of this size gets with the default
// 4 x 4 corners, as the platform rasterises it.
RECT RoundedShapeBox(int width, int height);
bool IsUsable(HWND button);
// Visible and enabled ids of child windows; the window's children in z-order.
std::vector<int> ChildIds(HWND parent);
// A text whose extent in dc is exactly width pixels; empty when none found.
std::wstring CaptionOfWidth(HDC dc, int width);
int TextWidth(HDC dc, const std::wstring& text);
// The dialog's average character width, as the layout reads it.
int AverageCharWidth(HWND dialog);
