#include "framework/CDialog.h"

#include "framework/CreationHook.h"

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

INT_PTR CDialog::DoModal() {
    // The dialog class is "#32770"; its window is subclassed while the
    // dialog manager creates it, before WM_INITDIALOG.
    CreationHook hook(this, L"#32770");
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    return ::DialogBoxParamW(instance, MAKEINTRESOURCEW(m_nIDTemplate),
                             m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr, DialogProc, 0);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM, LPARAM) {
    if (message != WM_INITDIALOG) {
        return FALSE; // the dialog manager's default processing
    }
    auto dialog = static_cast<CDialog*>(FromHandlePermanent(hWnd));
    return dialog != nullptr ? dialog->OnInitDialog() : TRUE;
}

BOOL CDialog::OnInitDialog() {
    CDataExchange exchange = {this, FALSE};
    DoDataExchange(&exchange);
    return TRUE;
}

void CDialog::OnOK() {
    CDataExchange exchange = {this, TRUE};
    DoDataExchange(&exchange);
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}
