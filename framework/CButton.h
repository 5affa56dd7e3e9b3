// A push button of the system's "BUTTON" class. Owner-drawn buttons get
// their WM_DRAWITEM, which the system sends to the parent, reflected back to
// DrawItem.
#pragma once

#include "framework/CWnd.h"

class CButton : public CWnd {
public:
    BOOL Create(LPCWSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    virtual void DrawItem(LPDRAWITEMSTRUCT) {}

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};
