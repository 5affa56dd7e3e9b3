#include "media_menu/app/MediaMenuDialog.h"

#include "common/UniqueHandle.h"
#include "framework/CClientDC.h"
#include "framework/CPaintDC.h"
#include "framework/CWinApp.h"
#include "framework/Dpi.h"
#include "media_menu/controls/MenuColours.h"
#include "media_menu/data/EntryChoice.h"
#include "media_menu/data/MenuEntryList.h"
#include "media_menu/data/SettingsStore.h"
#include "media_menu/layout/MenuLayout.h"
#include "media_menu/res/resource.h"

#include <new>

namespace {

const UINT_PTR kCloseTimer = 1;
const DWORD kCloseAnimationMs = 200;
// The painted black round rectangle: inset and pen width at 96 DPI.
const int kBackgroundInset = 2;

} // namespace

BEGIN_MESSAGE_MAP(MediaMenuDialog, MenuLayoutDialog)
ON_WM_PAINT()
ON_WM_CLOSE()
ON_WM_MOVE()
ON_MESSAGE(WM_SYSCOLORCHANGE, OnSysColorChange)
ON_MESSAGE(WM_SETTINGCHANGE, OnSettingChange)
ON_WM_ACTIVATEAPP()
ON_WM_TIMER()
ON_WM_NCHITTEST()
ON_WM_HELPINFO()
ON_COMMAND_RANGE(IDC_ENTRY_BASE, IDC_LAST_ENTRY, OnEntryCommand)
END_MESSAGE_MAP()

// The window asks for icon 128, which the resources do not hold: the load
// finds nothing and the window carries no icon of its own (the shell shows
// the executable's). Asking keeps the window ready for an icon should one be
// added; nothing draws m_hIcon today.
MediaMenuDialog::MediaMenuDialog()
    : m_hIcon(AfxGetApp() ? AfxGetApp()->LoadIcon(IDI_MENU_WINDOW) : nullptr) {}

BOOL MediaMenuDialog::OnInitDialog() {
    // Adds the title bar when the profile asks for one.
    MenuLayoutDialog::OnInitDialog();
    SetWindowText(kTitle); // a second start finds the open menu by this title
    SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);

    // First run: no readable "CurrentSelection" yet. The text itself is not
    // used here; building the menu reads it again.
    wchar_t currentSelection[kTextUnits];
    ReadCurrentSelectionOrWriteDefaults(currentSelection);
    BuildMenu();
    return FALSE; // the focus is set
}

void MediaMenuDialog::BuildMenu() {
    m_pLayout = new (std::nothrow) MenuLayout(this);
    if (m_pLayout == nullptr) {
        return;
    }
    m_pLayout->BeginUpdate();
    int focusTarget = 0;
    {
        // Also when loading ran out of memory (-1): the records built so far
        // are shown, and all of them are freed.
        UniqueMenuEntryList entries;
        LoadMenuEntries(entries.put());
        for (const MenuEntry* entry = entries.get(); entry != nullptr; entry = entry->pNext) {
            int id = IDC_ENTRY_BASE + entry->nIndex;
            m_pLayout->AddEntry(id, entry->szName);
            if (focusTarget == 0 && entry->bCurrent) {
                focusTarget = id;
            }
        }
    }
    m_pLayout->EndUpdate();
    m_pLayout->Layout();
    // Without a current entry the focus stays where the dialog manager put it.
    if (focusTarget != 0) {
        // A current entry below the visible range is scrolled into view, so
        // that the user sees what Enter would start and every key works from
        // the first press.
        m_pLayout->RevealEntry(focusTarget);
        if (CWnd* target = GetDlgItem(focusTarget)) {
            target->SetFocus(); // its pressed look shows the last choice
        }
    }
    CenterOnScreen(m_hWnd);
}

void MediaMenuDialog::PaintBackground() {
    const int dpi = m_pLayout != nullptr ? m_pLayout->GetDpi() : WindowDpi(m_hWnd);
    const int inset = ScaleToDpi(kBackgroundInset, dpi);
    const int corner = ScaleToDpi(MenuLayout::kWindowCorner, dpi);
    const COLORREF colour = MenuColours::Window(m_bHighContrast);
    CClientDC dc(this);
    RECT rect;
    GetClientRect(&rect);
    dc.SetBkColor(colour);
    dc.ExtTextOut(0, 0, ETO_OPAQUE, &rect, L"", 0);
    ::InflateRect(&rect, -inset, -inset);
    UniqueBrush brush(::CreateSolidBrush(colour));
    UniquePen pen(::CreatePen(PS_NULL, inset, colour));
    ScopedSelection brushSelection(dc, brush.get());
    ScopedSelection penSelection(dc, pen.get());
    dc.RoundRect(rect, POINT{corner, corner});
}

void MediaMenuDialog::CloseMenu() {
    ::AnimateWindow(m_hWnd, kCloseAnimationMs, AW_HIDE | AW_CENTER);
    DestroyLayout();
}

void MediaMenuDialog::OnCancel() {
    CloseMenu();
    MenuLayoutDialog::OnCancel();
}

void MediaMenuDialog::OnPaint() {
    { CPaintDC validate(this); }
    PaintBackground();
    if (m_pLayout != nullptr) {
        m_pLayout->RepaintAll();
    }
}

void MediaMenuDialog::OnClose() {
    OnCancel();
}

void MediaMenuDialog::OnMove(int, int) {
    RepaintNow();
}

LRESULT MediaMenuDialog::OnSysColorChange(WPARAM wParam, LPARAM lParam) {
    // Only top-level windows are told; the buttons keep pictures in the old
    // colours until they hear of it too.
    m_bHighContrast = MenuColours::IsHighContrastOn();
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        ::SendMessageW(child, WM_SYSCOLORCHANGE, wParam, lParam);
    }
    Invalidate();
    return 0;
}

LRESULT MediaMenuDialog::OnSettingChange(WPARAM wParam, LPARAM) {
    // Turning high contrast on or off changes the looks even where the
    // system colours stay the same.
    if (wParam == SPI_SETHIGHCONTRAST) {
        return OnSysColorChange(0, 0);
    }
    return Default();
}

void MediaMenuDialog::OnActivateApp(BOOL active, DWORD threadId) {
    if (!active && ReadProfileInt(ProfileKey::kCloseOnDeactivation, 1) != 0) {
        PostMessage(WM_CLOSE);
    }
    MenuLayoutDialog::OnActivateApp(active, threadId);
}

void MediaMenuDialog::OnTimer(UINT_PTR id) {
    // The menu starts no timer of its own. Timer 1 is a way for other
    // software to close the menu (posting WM_TIMER 1, or SetTimer on the
    // window); every other id is only killed.
    if (id == kCloseTimer) {
        PostMessage(WM_CLOSE);
    }
    KillTimer(id);
    MenuLayoutDialog::OnTimer(id);
}

LRESULT MediaMenuDialog::OnNcHitTest(POINT point) {
    if ((GetStyle() & WS_CAPTION) != WS_CAPTION &&
        ReadProfileInt(ProfileKey::kAllowMenuReposition, 0) != 0) {
        return HTCAPTION; // drag the window by its body
    }
    return MenuLayoutDialog::OnNcHitTest(point);
}

BOOL MediaMenuDialog::OnHelpInfo(HELPINFO*) {
    return TRUE;
}

void MediaMenuDialog::OnEntryCommand(UINT id) {
    // The button's caption is its entry's name; without a button of that id
    // the name is empty, which no entry has.
    wchar_t name[kTextUnits] = {};
    ::GetDlgItemTextW(m_hWnd, static_cast<int>(id), name, kTextUnits);
    HandleEntryChoice(name);
    PostMessage(WM_CLOSE); // after every choice, launched or not
}

void CenterOnScreen(HWND window) {
    int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    RECT rect;
    ::GetWindowRect(window, &rect);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    ::MoveWindow(window, screenWidth / 2 - width / 2, screenHeight / 2 - height / 2, width, height,
                 TRUE);
}
