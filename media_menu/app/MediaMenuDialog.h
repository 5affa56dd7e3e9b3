// The menu window: a borderless, topmost, black (in high contrast: the
// system's window colour) dialog with rounded corners
// holding one entry button per menu entry. Its MenuLayout creates, places and
// scrolls the buttons, wired up by MenuLayoutDialog; the window routes the
// entries' commands and closes itself on Escape, after a choice, on
// deactivation and when a second start asks.
#pragma once

#include "media_menu/controls/MenuColours.h"
#include "media_menu/layout/MenuLayoutDialog.h"

class MediaMenuDialog : public MenuLayoutDialog {
public:
    static constexpr wchar_t kTitle[] = L"VLTMedia";
    // The system's dialog class, which the menu window has (its template
    // names no class of its own).
    static constexpr wchar_t kWindowClass[] = L"#32770";

    MediaMenuDialog();

    void WinHelp(DWORD_PTR, UINT) override {} // there is no help
    BOOL OnInitDialog() override;
    void OnCancel() override;

    void BuildMenu();
    void PaintBackground();
    void CloseMenu();

protected:
    void DoDataExchange(CDataExchange*) override {} // no data to exchange

    void OnPaint();
    void OnClose();
    void OnMove(int x, int y);
    // The colours or high contrast changed: the looks are made again.
    LRESULT OnSysColorChange(WPARAM wParam, LPARAM lParam);
    LRESULT OnSettingChange(WPARAM wParam, LPARAM lParam);
    void OnActivateApp(BOOL active, DWORD threadId);
    void OnTimer(UINT_PTR id);
    LRESULT OnNcHitTest(POINT point);
    BOOL OnHelpInfo(HELPINFO* info);
    void OnEntryCommand(UINT id);
    DECLARE_MESSAGE_MAP()

private:
    HICON m_hIcon;
    // Asked when the window is made and again when the colours change, not
    // at every paint.
    bool m_bHighContrast = MenuColours::IsHighContrastOn();
};

// Moves a window, keeping its size, to the middle of the primary screen.
void CenterOnScreen(HWND window);
