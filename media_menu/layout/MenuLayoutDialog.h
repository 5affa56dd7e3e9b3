// A dialog from the menu's template whose buttons a MenuLayout places,
// scrolls and moves the focus through. It hands the layout what concerns it:
// the focus-move requests (those the layout leaves alone go on to the dialog
// manager), DPI changes and the scroll buttons' commands; and it adds the
// title bar the layout makes room for. Kept apart from the menu window's
// other duties (closing, choosing, painting), so that a layout can be hosted
// with exactly the menu's routing and nothing more.
#pragma once

#include "framework/CDialog.h"

class MenuLayout;

class MenuLayoutDialog : public CDialog {
public:
    MenuLayoutDialog();
    // Destroys a layout still left, as when the dialog ended without closing
    // its layout first (IDOK from the dialog manager).
    ~MenuLayoutDialog() override;

    // Adds the title bar when the profile asks for one: before any layout,
    // which leaves room for it.
    BOOL OnInitDialog() override;

protected:
    // Destroys the entry buttons, then the layout; nothing when there is none.
    void DestroyLayout();

    LRESULT OnNextDlgCtl(WPARAM wParam, LPARAM lParam);
    LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam);
    void OnScrollUp();
    void OnScrollDown();
    DECLARE_MESSAGE_MAP()

    // Made by the derived dialog, owned from then until DestroyLayout.
    MenuLayout* m_pLayout = nullptr;
};
