// Modal dialogs from a template: the map sees the dialog's messages first,
// unhandled ones get the dialog manager's processing, and DoModal returns
// what EndDialog was given.
#include "FrameworkTestIds.h"
#include "framework/CDialog.h"

#include <gtest/gtest.h>

namespace {

const UINT kCheckAndEnd = WM_APP + 10;

class TwoButtonDialog : public CDialog {
public:
    TwoButtonDialog() : CDialog(IDD_TWO_BUTTONS) {}

    bool initCalled = false;
    bool exchangedOnInit = false;
    int focusIdAfterMove = 0;
    int closeCount = 0;

protected:
    BOOL OnInitDialog() override {
        initCalled = true;
        CDialog::OnInitDialog();
        GetDlgItem(IDC_FIRST)->SetFocus();
        // Let the dialog manager move the focus to the next tab stop, then
        // look at the result once the request has been handled.
        PostMessage(WM_NEXTDLGCTL, 0, 0);
        PostMessage(kCheckAndEnd);
        return FALSE;
    }
    void DoDataExchange(CDataExchange* exchange) override {
        exchangedOnInit = exchange != nullptr && !exchange->m_bSaveAndValidate;
    }
    LRESULT OnNextDlgCtl(WPARAM, LPARAM) { return Default(); }
    LRESULT OnCheckAndEnd(WPARAM, LPARAM) {
        focusIdAfterMove = ::GetDlgCtrlID(::GetFocus());
        EndDialog(42);
        return 0;
    }
    void OnClose() { ++closeCount; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TwoButtonDialog, CDialog)
ON_MESSAGE(WM_NEXTDLGCTL, OnNextDlgCtl)
ON_MESSAGE(kCheckAndEnd, OnCheckAndEnd)
ON_WM_CLOSE()
END_MESSAGE_MAP()

TEST(DialogTest, DoModalRunsUntilEndDialogAndReturnsItsResult) {
    TwoButtonDialog dialog;
    EXPECT_EQ(42, dialog.DoModal());
    EXPECT_TRUE(dialog.initCalled);
    EXPECT_TRUE(dialog.exchangedOnInit);
    EXPECT_EQ(nullptr, dialog.m_hWnd) << "the window is gone and detached";
}

TEST(DialogTest, UnhandledNextDlgCtlMovesTheFocusInTabOrder) {
    TwoButtonDialog dialog;
    dialog.DoModal();
    EXPECT_EQ(IDC_SECOND, dialog.focusIdAfterMove);
}

class CancelDialog : public CDialog {
public:
    CancelDialog() : CDialog(IDD_TWO_BUTTONS) {}

protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        PostMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
        return TRUE;
    }
};

TEST(DialogTest, CancelCommandEndsWithIdCancel) {
    CancelDialog dialog;
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
}

TEST(DialogTest, MissingTemplateFails) {
    CDialog dialog(9999);
    EXPECT_EQ(-1, dialog.DoModal());
    EXPECT_EQ(nullptr, dialog.m_hWnd);
}

} // namespace
