// The menu window: a borderless, topmost, black dialog with rounded corners
// holding one entry button per menu entry. Its MenuLayout creates, places and
// scrolls the buttons; the window routes their commands and closes itself
// on Escape, after a choice, on deactivation and when a second start asks.
#pragma once

#include "framework/CDialog.h"

class MenuLayout;

class MediaMenuDialog : public CDialog {
public:
    static constexpr wchar_t kTitle[] = L"VLTMedia";
    // The system's dialog class, which the menu window has (its template
    // names no class of its own).
    static constexpr wchar_t kWindowClass[] = L"#32770";

    MediaMenuDialog();
    ~MediaMenuDialog() override;

    void WinHelp(DWORD_PTR, UINT) override {} // there is no help
    BOOL OnInitDialog() override;
    void OnCancel() override;

    void BuildMenu();
    void PaintBackground();
    void CloseMenu();
    // Destroys the entry buttons, then the layout; nothing when there is none.
    void DestroyLayout();

protected:
    void DoDataExchange(CDataExchange*) override {} // no data to exchange

    void OnPaint();
    void OnClose();
    void OnMove(int x, int y);
    void OnActivateApp(BOOL active, DWORD threadId);
    void OnTimer(UINT_PTR id);
    LRESULT OnNcHitTest(POINT point);
    BOOL OnHelpInfo(HELPINFO* info);
    void OnEntryCommand(UINT id);
    void OnScrollUp();
    void OnScrollDown();
    LRESULT OnNextDlgCtl(WPARAM wParam, LPARAM lParam);
    LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    MenuLayout* m_pLayout = nullptr; // owned from BuildMenu to CloseMenu
    HICON m_hIcon;
};

// Moves a window, keeping its size, to the middle of the primary screen.
void CenterOnScreen(HWND window);
