#include "media_menu/layout/MenuLayout.h"

#include "framework/CWnd.h"
#include "media_menu/res/resource.h"

namespace {

// A button without a window is skipped, as ScrollingEntryLayout skips it:
// SetFocus on a null window would take the focus from every window.
bool HasWindow(const CWnd* wnd) {
    return wnd != nullptr && wnd->m_hWnd != nullptr;
}

} // namespace

void MenuLayout::OnDpiChanged(int dpi, const RECT& suggested) {
    HWND focus = ::GetFocus();
    LayOutAgainAt(dpi);
    if (focus != nullptr) {
        RevealEntry(::GetDlgCtrlID(focus));
        if (!::IsWindowVisible(focus)) {
            FocusEntry(GetFirstVisible()); // a scroll button the layout has hidden
        }
    }
    GetDialog()->SetWindowPos(nullptr, suggested.left, suggested.top, 0, 0,
                              SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MenuLayout::ScrollUp() {
    StepUp();
    if (GetFirstVisible() == 0) {
        FocusEntry(0);
    } else {
        Focus(GetUpButton());
    }
}

void MenuLayout::ScrollDown() {
    StepDown();
    const int n = GetEntryCount();
    if (GetEndVisible() == n) {
        FocusEntry(n - 1);
    } else {
        Focus(GetDownButton());
    }
}

int MenuLayout::FindEntry(int id, int from, int end) const {
    for (int i = from; i < end; ++i) {
        EntryButton* entry = GetEntryAt(i);
        if (HasWindow(entry) && ::GetWindowLongW(entry->m_hWnd, GWL_ID) == id) {
            return i;
        }
    }
    return -1;
}

int MenuLayout::FindVisibleEntry(int id) const {
    return FindEntry(id, GetFirstVisible(), GetEndVisible());
}

void MenuLayout::RevealEntry(int id) {
    // Only the entries below the range are looked at: one in view already
    // (or above it) changes nothing.
    const int index = FindEntry(id, GetEndVisible(), GetEntryCount());
    if (index != -1) {
        EndRangeAt(index);
    }
}

int MenuLayout::Focus(CWnd* control) {
    if (HasWindow(control)) {
        control->SetFocus();
    }
    return 0;
}

int MenuLayout::FocusEntry(int index) {
    return Focus(GetEntryAt(index));
}

// Focuses the first enabled entry from index from to index to (inclusive),
// stepping by step. Returns 1 when one was found, 0 when none was.
int MenuLayout::FocusFirstEnabled(int from, int to, int step) {
    for (int i = from; step > 0 ? i <= to : i >= to; i += step) {
        EntryButton* entry = GetEntryAt(i);
        if (HasWindow(entry) && entry->IsWindowEnabled()) {
            Focus(entry);
            return 1;
        }
    }
    return 0;
}

int MenuLayout::OnNextDlgCtl(WPARAM wParam, LPARAM lParam) {
    HWND focus = ::GetFocus();
    if (focus == nullptr) {
        return kLeaveToDialog;
    }
    const int id = ::GetDlgCtrlID(focus);
    // A window handle in wParam: a request this layout does not make.
    if (LOWORD(lParam) != 0) {
        return kLeaveToDialog;
    }
    const bool previous = wParam != kFocusNext; // any other value counts as backward
    const int first = GetFirstVisible();
    const int last = GetEndVisible() - 1;

    if (id == IDC_SCROLL_UP) {
        if (previous) {
            ScrollUp();
        } else {
            FocusFirstEnabled(first, last, 1);
        }
        return 0;
    }
    if (id == IDC_SCROLL_DOWN) {
        if (previous) {
            FocusFirstEnabled(last, first, -1);
        } else {
            ScrollDown();
        }
        return 0;
    }

    const int i = FindVisibleEntry(id);
    if (i == -1) {
        return 0; // consumed: the focus stays where it is
    }
    if (previous) {
        if (i == first) {
            return IsAllFit() || GetFirstVisible() == 0 ? 0 : Focus(GetUpButton());
        }
        if (FocusFirstEnabled(i - 1, first, -1)) {
            return 0;
        }
        return IsAllFit() ? 0 : Focus(GetUpButton());
    }
    if (i == last) {
        return IsAllFit() || GetEndVisible() == GetEntryCount() ? 0 : Focus(GetDownButton());
    }
    if (FocusFirstEnabled(i + 1, last, 1)) {
        return 0;
    }
    return IsAllFit() ? 0 : Focus(GetDownButton());
}
