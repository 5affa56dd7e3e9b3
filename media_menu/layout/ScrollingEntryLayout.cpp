#include "media_menu/layout/ScrollingEntryLayout.h"

#include "common/RectSize.h"
#include "common/UniqueHandle.h"
#include "framework/CClientDC.h"
#include "framework/CWnd.h"
#include "framework/Dpi.h"
#include "media_menu/controls/ApplyRoundedWindowShape.h"
#include "media_menu/controls/MenuColours.h"
#include "media_menu/data/SettingsStore.h"
#include "media_menu/res/resource.h"

#include <initializer_list>
#include <new>

namespace {

// New entries start with an empty shape rounded like the window.
constexpr int kEmptyShapeCorner = ScrollingEntryLayout::kWindowCorner;

// Every button of the menu is created alike but for its caption, shape and id.
constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
constexpr int kButtonDepth = 2;

constexpr int kCaptionUnits = 260;

// The scroll buttons' names, which screen readers announce (the buttons
// draw no caption), are strings of the menu's resources, so that the system
// picks them in the user's UI language.
constexpr int kScrollNameUnits = 64;

// The string ID of the module whose template made the dialog; empty when
// it has none.
void LoadScrollName(const CWnd* dialog, UINT id, wchar_t (&name)[kScrollNameUnits]) {
    const HINSTANCE module =
        reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(dialog->m_hWnd, GWLP_HINSTANCE));
    if (::LoadStringW(module, id, name, kScrollNameUnits) <= 0) {
        name[0] = L'\0';
    }
}

// Every window call on a button without a window is skipped, since several
// of them (InvalidateRect, GetDC) mean something else entirely for a null
// window: entries without one are dropped when added, but the scroll
// buttons' creation may fail too. The framework leaves no handle behind a
// failed creation or a destroyed window.
bool HasWindow(const CWnd* wnd) {
    return wnd != nullptr && wnd->m_hWnd != nullptr;
}

void Repaint(CWnd* wnd) {
    if (HasWindow(wnd)) {
        wnd->RepaintNow();
    }
}

SIZE WindowSizeOf(const CWnd* wnd) {
    RECT rect = {};
    if (HasWindow(wnd)) {
        wnd->GetWindowRect(&rect);
    }
    return SIZE{Width(rect), Height(rect)};
}

int ClientWidthOf(const CWnd* wnd) {
    RECT rect = {};
    if (HasWindow(wnd)) {
        wnd->GetClientRect(&rect);
    }
    return Width(rect);
}

// The region of a closed triangular path, in the DC's device coordinates.
HRGN TriangleRegion(CDC& dc, const Triangle& triangle) {
    dc.BeginPath();
    dc.MoveTo(triangle.a.x, triangle.a.y);
    dc.LineTo(triangle.b.x, triangle.b.y);
    dc.LineTo(triangle.c.x, triangle.c.y);
    dc.LineTo(triangle.a.x, triangle.a.y);
    dc.EndPath();
    return dc.PathToRegion();
}

} // namespace

ScrollingEntryLayout::ScrollingEntryLayout(CWnd* dialog)
    : m_bHideUpDownWhenNotNeeded(ReadProfileInt(ProfileKey::kHideUpDownWhenNotNeeded, 1)),
      m_pDialog(dialog), m_nDpi(WindowDpi(HasWindow(dialog) ? dialog->m_hWnd : nullptr)),
      m_bHighContrast(MenuColours::IsHighContrastOn()) {}

// The members go in reverse order of declaration: the down button's window,
// then the up button's, then the list's links.
ScrollingEntryLayout::~ScrollingEntryLayout() = default;

int ScrollingEntryLayout::AddEntry(int commandId, LPCWSTR caption) {
    EntryButton* button = new (std::nothrow) EntryButton;
    if (button == nullptr) {
        return 1;
    }
    // Created 0 x 0 at (0, 0) with an empty rounded shape; Layout gives the
    // entry its size and its real shape.
    UniqueRegion shape(::CreateRoundRectRgn(0, 0, 0, 0, kEmptyShapeCorner, kEmptyShapeCorner));
    const BOOL created = CreateButton(*button, caption, shape.get(), static_cast<UINT>(commandId));
    shape.reset(); // the button keeps its own copy
    // An entry without a window is dropped, as one without memory for its
    // link is (it could never be reached again): kept in the list, it would
    // hand its empty rectangle to its neighbour when the view scrolls,
    // shrinking that entry to nothing for good.
    if (!created || !m_entries.Append(button)) {
        button->DestroyWindow();
        delete button;
    }
    return 1;
}

int ScrollingEntryLayout::Layout() {
    if (m_bLayoutSuspended || !HasWindow(m_pDialog)) {
        return m_bLayoutSuspended;
    }
    const DWORD style = m_pDialog->GetStyle();
    const bool captioned = (style & WS_CAPTION) == WS_CAPTION;
    PassInputs pass = {};
    pass.dpi = m_nDpi;
    pass.captionHeight = captioned ? SystemMetricForDpi(SM_CYCAPTION, m_nDpi) : 0;
    pass.borderHeight = (style & WS_BORDER) != 0 ? 2 * SystemMetricForDpi(SM_CYBORDER, m_nDpi) : 0;
    const int n = m_entries.GetCount();
    for (int i = 0; i < n; ++i) {
        m_entries.GetAt(i)->SetDpi(m_nDpi);
    }

    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &pass.work, 0);
    pass.hMargin = SystemMetricForDpi(SM_CXHTHUMB, m_nDpi) / 2;
    pass.vMargin = SystemMetricForDpi(SM_CYVTHUMB, m_nDpi) / 2;

    pass.entryWidth = MeasureEntryWidth(Width(pass.work));
    ShapeScrollButtons();

    pass.marker = MarkerSize(IDC_FOOTER_MARKER);
    if (CWnd* footer = m_pDialog->GetDlgItem(IDC_FOOTER_MARKER)) {
        footer->ShowWindow(SW_HIDE);
    }

    const WindowPlace window = PlaceMenuWindow(pass, n);
    if (window.fits) {
        FittingLayout(pass, window, captioned);
    } else {
        ScrollingLayout(pass, window, captioned);
    }

    HideOrDisableScrollButton(&m_btnUp);
    if (m_bAllFit) {
        HideOrDisableScrollButton(&m_btnDown);
    }
    return m_bLayoutSuspended;
}

int ScrollingEntryLayout::MeasureEntryWidth(int workWidth) const {
    TEXTMETRICW metrics = {};
    {
        CClientDC dc(m_pDialog);
        dc.GetTextMetrics(&metrics);
    }
    const int n = m_entries.GetCount();
    if (n == 0) {
        return EntryWidth(0, metrics.tmAveCharWidth, 0, workWidth, m_nDpi);
    }
    // The captions are drawn in one font for every entry (all draw in their
    // parent's font), made once here; each caption is read once and measured
    // in both fonts.
    EntryButton* first = m_entries.GetAt(0);
    CClientDC drawnDc(first);
    UniqueFont drawnFont = first->CreateCaptionFont(drawnDc.GetSafeHdc());
    ScopedSelection selection(drawnDc.GetSafeHdc(), drawnFont.get());
    TEXTMETRICW drawnMetrics = {};
    drawnDc.GetTextMetrics(&drawnMetrics);
    int widest = 0;
    int widestDrawn = 0;
    for (int i = 0; i < n; ++i) {
        EntryButton* entry = m_entries.GetAt(i);
        wchar_t caption[kCaptionUnits] = {};
        const int length = entry->GetWindowText(caption, kCaptionUnits);
        // Measured with the font an entry's own DC starts with.
        CClientDC dc(entry);
        const SIZE extent = dc.GetTextExtent(caption, length);
        const SIZE drawn = drawnDc.GetTextExtent(caption, length);
        widest = extent.cx > widest ? extent.cx : widest;
        widestDrawn = drawn.cx > widestDrawn ? drawn.cx : widestDrawn;
    }
    // The drawn caption gets one average character of its font, the room the
    // text rule leaves as well.
    return EntryWidth(widest, metrics.tmAveCharWidth, widestDrawn + drawnMetrics.tmAveCharWidth,
                      workWidth, m_nDpi);
}

void ScrollingEntryLayout::ShapeScrollButtons() {
    // The buttons are made once, and shaped again only at another DPI.
    const bool exist = HasWindow(&m_btnUp) || HasWindow(&m_btnDown);
    if (exist && m_nTriangleDpi == m_nDpi) {
        return;
    }
    CClientDC dc(m_pDialog);
    UniqueRegion up(TriangleRegion(dc, UpTriangle(m_nDpi)));
    UniqueRegion down(TriangleRegion(dc, DownTriangle(m_nDpi)));
    if (exist) {
        for (EntryButton* button : {&m_btnUp, &m_btnDown}) {
            if (HasWindow(button)) {
                button->SetDpi(m_nDpi);
                button->Reshape(button == &m_btnUp ? up.get() : down.get());
            }
        }
    } else {
        m_btnUp.SetCaptionDrawn(false);
        m_btnDown.SetCaptionDrawn(false);
        m_btnUp.SetDpi(m_nDpi);
        m_btnDown.SetDpi(m_nDpi);
        wchar_t upName[kScrollNameUnits] = {};
        wchar_t downName[kScrollNameUnits] = {};
        LoadScrollName(m_pDialog, IDS_SCROLL_UP, upName);
        LoadScrollName(m_pDialog, IDS_SCROLL_DOWN, downName);
        CreateButton(m_btnUp, upName, up.get(), IDC_SCROLL_UP);
        CreateButton(m_btnDown, downName, down.get(), IDC_SCROLL_DOWN);
    }
    m_nTriangleDpi = m_nDpi;
}

BOOL ScrollingEntryLayout::CreateButton(EntryButton& button, LPCWSTR caption, HRGN shape, UINT id) {
    button.SetHighContrast(m_bHighContrast);
    return button.Create(caption, kButtonStyle, 0, 0, shape, m_pDialog, id, kButtonDepth);
}

void ScrollingEntryLayout::MoveMenuWindow(const RECT& rect, bool captioned) {
    m_pDialog->SetWindowPos(HWND_TOPMOST, rect.left, rect.top, Width(rect), Height(rect),
                            SWP_NOACTIVATE);
    if (!captioned) {
        ApplyRoundedWindowShape(m_pDialog, kWindowCorner, kWindowCorner, m_nDpi);
    }
}

// The marker controls are the dialog's own statics, for which GetDlgItem
// gives a temporary object; each is looked up right where it is used.
SIZE ScrollingEntryLayout::MarkerSize(int id) const {
    return WindowSizeOf(m_pDialog->GetDlgItem(id));
}

void ScrollingEntryLayout::CentreMarker(int id, const PassInputs& pass, int windowLeft, int top) {
    CWnd* marker = m_pDialog->GetDlgItem(id);
    if (!HasWindow(marker)) {
        return;
    }
    // Both markers take the footer marker's size, so that is what is centred.
    POINT point = {CentredLeft(windowLeft, ClientWidthOf(m_pDialog), pass.marker.cx), top};
    m_pDialog->ScreenToClient(&point);
    marker->SetWindowPos(nullptr, point.x, point.y, pass.marker.cx, pass.marker.cy, SWP_NOZORDER);
}

void ScrollingEntryLayout::PlaceEntry(EntryButton* entry, const RECT& slot) {
    if (!HasWindow(entry)) {
        return;
    }
    POINT point = {slot.left, slot.top};
    m_pDialog->ScreenToClient(&point);
    entry->MoveWindow(point.x, point.y, Width(slot), Height(slot), TRUE);
    Repaint(entry);
    entry->ApplyRoundedShape();
}

void ScrollingEntryLayout::FittingLayout(const PassInputs& pass, const WindowPlace& window,
                                         bool captioned) {
    const int n = m_entries.GetCount();
    const int left = window.rect.left;
    MoveMenuWindow(window.rect, captioned);
    const MenuRows rows = PlaceRows(pass, window, n, 0);

    CentreMarker(IDC_HEADER_MARKER, pass, left, rows.headerTop);
    CentreMarker(IDC_FOOTER_MARKER, pass, left, rows.footerTop);
    for (int id : {IDC_HEADER_MARKER, IDC_FOOTER_MARKER}) {
        if (CWnd* marker = m_pDialog->GetDlgItem(id)) {
            marker->SendMessage(STM_SETIMAGE, IMAGE_BITMAP, 0);
        }
    }

    PlaceScrollButton(&m_btnUp, left, rows.upTop);
    HideOrDisableScrollButton(&m_btnUp);
    for (int i = 0; i < n; ++i) {
        PlaceEntry(m_entries.GetAt(i), EntrySlot(pass, window, rows, i));
    }
    PlaceScrollButton(&m_btnDown, left, rows.downTop);
    HideOrDisableScrollButton(&m_btnDown);

    m_nFirstVisible = 0;
    m_nEndVisible = n;
    m_bAllFit = 1;
}

void ScrollingEntryLayout::ScrollingLayout(const PassInputs& pass, const WindowPlace& window,
                                           bool captioned) {
    const int n = m_entries.GetCount();
    const int left = window.rect.left;
    MoveMenuWindow(window.rect, captioned);
    const MenuRows rows = PlaceRows(pass, window, n, MarkerSize(IDC_HEADER_MARKER).cy);

    CentreMarker(IDC_HEADER_MARKER, pass, left, rows.headerTop);
    CentreMarker(IDC_FOOTER_MARKER, pass, left, rows.footerTop);

    PlaceScrollButton(&m_btnUp, left, rows.upTop);
    for (int i = 0; i < rows.visible; ++i) {
        PlaceEntry(m_entries.GetAt(i), EntrySlot(pass, window, rows, i));
    }
    PlaceScrollButton(&m_btnDown, left, rows.downTop);

    m_nFirstVisible = 0;
    m_nEndVisible = rows.visible;
    m_bAllFit = 0;
    for (int i = rows.visible; i < n; ++i) {
        EntryButton* entry = m_entries.GetAt(i);
        if (HasWindow(entry)) {
            entry->ShowWindow(SW_HIDE);
        }
    }
}

void ScrollingEntryLayout::LayOutAgainAt(int dpi) {
    m_nDpi = dpi;
    Layout();
    // The first layout finds every button shown; this one may find entries
    // and the down button that scrolling has hidden.
    if (!m_bAllFit) {
        MakeUsable(&m_btnDown);
    }
    ShowVisibleEntries();
}

void ScrollingEntryLayout::PlaceScrollButton(EntryButton* button, int windowLeft, int top) {
    if (!HasWindow(button) || !HasWindow(m_pDialog)) {
        return;
    }
    const int clientWidth = ClientWidthOf(m_pDialog); // measured first, as ever
    POINT point = {CentredLeft(windowLeft, clientWidth, ClientWidthOf(button)), top};
    m_pDialog->ScreenToClient(&point);
    button->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Repaint(button);
}

void ScrollingEntryLayout::HideOrDisableScrollButton(EntryButton* button) {
    if (!HasWindow(button)) {
        return;
    }
    if (m_bHideUpDownWhenNotNeeded) {
        button->ShowWindow(SW_HIDE);
    } else {
        button->EnableWindow(FALSE);
    }
}

void ScrollingEntryLayout::RepaintAll() {
    const int n = m_entries.GetCount();
    for (int i = 0; i < n; ++i) {
        Repaint(m_entries.GetAt(i));
    }
    Repaint(&m_btnDown);
    Repaint(&m_btnUp);
}

int ScrollingEntryLayout::DestroyEntries() {
    const int n = m_entries.GetCount();
    for (int i = 0; i < n; ++i) {
        EntryButton* entry = m_entries.GetAt(i);
        if (entry != nullptr) {
            entry->DestroyWindow();
            delete entry;
        }
    }
    m_entries.RemoveAll();
    // Nothing is left to show or scroll.
    m_nFirstVisible = 0;
    m_nEndVisible = 0;
    m_bAllFit = 1;
    return 1;
}

void ScrollingEntryLayout::MakeUsable(EntryButton* button) {
    if (!HasWindow(button)) {
        return;
    }
    if (!button->IsWindowVisible()) {
        button->ShowWindow(SW_SHOW);
    }
    if (!button->IsWindowEnabled()) {
        button->EnableWindow(TRUE);
    }
}

void ScrollingEntryLayout::StepUp() {
    if (m_nFirstVisible > 0) {
        --m_nFirstVisible;
        --m_nEndVisible;
        ShiftEntries(kAfterStepUp);
        if (m_nFirstVisible == 0) {
            HideOrDisableScrollButton(&m_btnUp);
        }
    } else {
        HideOrDisableScrollButton(&m_btnUp);
    }
    MakeUsable(&m_btnDown);
    ShowVisibleEntries();
    Repaint(m_pDialog);
}

void ScrollingEntryLayout::StepDown() {
    const int n = m_entries.GetCount();
    if (m_nEndVisible < n) {
        ++m_nFirstVisible;
        ++m_nEndVisible;
        ShiftEntries(kAfterStepDown);
        if (m_nEndVisible == n) {
            HideOrDisableScrollButton(&m_btnDown);
        }
    } else {
        HideOrDisableScrollButton(&m_btnDown);
    }
    MakeUsable(&m_btnUp);
    ShowVisibleEntries();
    Repaint(m_pDialog);
}

RECT ScrollingEntryLayout::ClientRectOf(CWnd* control) const {
    RECT rect = {};
    if (HasWindow(control) && HasWindow(m_pDialog)) {
        control->GetWindowRect(&rect);
        m_pDialog->ScreenToClient(&rect);
    }
    return rect;
}

void ScrollingEntryLayout::ShiftEntries(int direction) {
    const int span = m_nEndVisible - m_nFirstVisible;
    auto moveInto = [this](int index, RECT& previous) {
        EntryButton* entry = m_entries.GetAt(index);
        const RECT current = ClientRectOf(entry);
        if (HasWindow(entry)) {
            entry->SetWindowPos(nullptr, previous.left, previous.top, Width(previous),
                                Height(previous), SWP_NOZORDER);
        }
        // Writes back the pointer just read, which changes nothing: the list
        // keeps its order while scrolling (buttons move between slots, never
        // between indexes), and this is where that is stated. A future change
        // that reorders entries would do it here.
        m_entries.SetAt(index, entry);
        previous = current;
    };
    if (direction == kAfterStepDown) {
        // The entry that has just left the top gives up its slot.
        RECT previous = ClientRectOf(m_entries.GetAt(m_nFirstVisible - 1));
        for (int i = m_nFirstVisible; i <= m_nFirstVisible + span - 1; ++i) {
            moveInto(i, previous);
        }
    } else if (direction == kAfterStepUp) {
        // The entry that has just left the bottom gives up its slot.
        RECT previous = ClientRectOf(m_entries.GetAt(m_nEndVisible));
        for (int i = m_nEndVisible - 1; i >= m_nFirstVisible; --i) {
            moveInto(i, previous);
        }
    }
}

void ScrollingEntryLayout::ShowVisibleEntries() {
    const int n = m_entries.GetCount();
    for (int i = 0; i < n; ++i) {
        EntryButton* entry = m_entries.GetAt(i);
        if (!HasWindow(entry)) {
            continue;
        }
        if (i < m_nFirstVisible || i >= m_nEndVisible) {
            entry->ShowWindow(SW_HIDE);
            continue;
        }
        entry->ShowWindow(SW_SHOWNOACTIVATE);
        Repaint(entry);
        entry->ApplyRoundedShape();
    }
}

void ScrollingEntryLayout::EndRangeAt(int index) {
    const int n = m_entries.GetCount();
    const int span = m_nEndVisible - m_nFirstVisible;
    if (span == 0) {
        return; // no room
    }
    const int first = index - span + 1;
    // The entries coming into view take the slots of those in view now, from
    // the bottom up: an entry in both ranges gives up its slot only after it
    // has been read.
    for (int j = span - 1; j >= 0; --j) {
        const RECT slot = ClientRectOf(m_entries.GetAt(m_nFirstVisible + j));
        EntryButton* entry = m_entries.GetAt(first + j);
        entry->SetWindowPos(nullptr, slot.left, slot.top, Width(slot), Height(slot), SWP_NOZORDER);
    }
    m_nFirstVisible = first;
    m_nEndVisible = index + 1;
    MakeUsable(&m_btnUp);
    if (m_nEndVisible == n) {
        HideOrDisableScrollButton(&m_btnDown);
    }
    ShowVisibleEntries();
}
