// A modal dialog from a dialog template. The dialog window is subclassed as
// it is created, so its messages go through the message map first; whatever
// the map does not handle gets the dialog manager's default processing
// (focus moves for WM_NEXTDLGCTL, default buttons, and so on).
#pragma once

#include "framework/CWnd.h"

// What a dialog's DoDataExchange receives; the menu exchanges no data.
struct CDataExchange {
    CWnd* m_pDlgWnd;
    BOOL m_bSaveAndValidate;
};

class CDialog : public CWnd {
public:
    CDialog(UINT templateId, CWnd* parent = nullptr);

    // Creates the dialog and runs its modal loop until EndDialog; returns
    // the EndDialog result, or -1 when the dialog could not be created.
    virtual INT_PTR DoModal();
    void EndDialog(int result) { ::EndDialog(m_hWnd, result); }

    // Called for WM_INITDIALOG. The base exchanges data into the controls and
    // returns TRUE (let the dialog manager set the focus).
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange*) {}
    // There is no help system; derived dialogs may give one.
    virtual void WinHelp(DWORD_PTR, UINT = HELP_CONTEXT) {}

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

protected:
    DECLARE_MESSAGE_MAP()

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
};
