#include "media_menu/layout/MenuLayoutDialog.h"

#include "media_menu/data/SettingsStore.h"
#include "media_menu/layout/MenuLayout.h"
#include "media_menu/res/resource.h"

BEGIN_MESSAGE_MAP(MenuLayoutDialog, CDialog)
ON_COMMAND(IDC_SCROLL_UP, OnScrollUp)
ON_COMMAND(IDC_SCROLL_DOWN, OnScrollDown)
ON_MESSAGE(WM_NEXTDLGCTL, OnNextDlgCtl)
ON_MESSAGE(WM_DPICHANGED, OnDpiChanged)
END_MESSAGE_MAP()

MenuLayoutDialog::MenuLayoutDialog() : CDialog(IDD_MEDIA_MENU, nullptr) {}

MenuLayoutDialog::~MenuLayoutDialog() {
    DestroyLayout();
}

void MenuLayoutDialog::DestroyLayout() {
    if (m_pLayout != nullptr) {
        // The buttons go before their layout, which holds the scroll buttons.
        m_pLayout->DestroyEntries();
        delete m_pLayout;
        m_pLayout = nullptr;
    }
}

BOOL MenuLayoutDialog::OnInitDialog() {
    const BOOL result = CDialog::OnInitDialog();
    if (ReadProfileInt(ProfileKey::kAddCaption, 0) != 0) {
        ModifyStyle(0, WS_CAPTION);
    }
    return result;
}

void MenuLayoutDialog::OnScrollUp() {
    if (m_pLayout != nullptr) {
        m_pLayout->ScrollUp();
    }
}

void MenuLayoutDialog::OnScrollDown() {
    if (m_pLayout != nullptr) {
        m_pLayout->ScrollDown();
    }
}

LRESULT MenuLayoutDialog::OnNextDlgCtl(WPARAM wParam, LPARAM lParam) {
    if (m_pLayout == nullptr) {
        return 0;
    }
    LRESULT handled = m_pLayout->OnNextDlgCtl(wParam, lParam);
    return handled == MenuLayout::kLeaveToDialog ? Default() : handled;
}

LRESULT MenuLayoutDialog::OnDpiChanged(WPARAM wParam, LPARAM lParam) {
    // The system's own handling first: for a per-monitor dialog it gives the
    // dialog font the new DPI, which the captions are drawn in.
    Default();
    const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
    if (m_pLayout != nullptr && suggested != nullptr) {
        // Both halves of wParam carry the DPI (x and y are always the same).
        m_pLayout->OnDpiChanged(HIWORD(wParam), *suggested);
    }
    return 0;
}
