#include "media_menu/controls/EntryButton.h"

#include "common/RectSize.h"
#include "framework/Dpi.h"
#include "media_menu/controls/MenuColours.h"
#include "media_menu/data/SettingsStore.h"

#include <shlwapi.h>

#include <new>

wchar_t g_szCaptionFace[MAX_PATH] = {};

namespace {

const int kDefaultButtonEllipse = 4;

// A fresh region holding a copy of the window's region; empty when the
// window has none.
UniqueRegion CopyWindowRegion(HWND window) {
    UniqueRegion copy(::CreateRectRgn(0, 0, 0, 0));
    if (copy) {
        ::GetWindowRgn(window, copy.get());
    }
    return copy;
}

// One gradient vertex: each 8-bit channel goes to the high byte of its
// 16-bit value.
TRIVERTEX Vertex(LONG x, LONG y, COLORREF colour) {
    TRIVERTEX vertex = {};
    vertex.x = x;
    vertex.y = y;
    vertex.Red = static_cast<COLOR16>(GetRValue(colour) << 8);
    vertex.Green = static_cast<COLOR16>(GetGValue(colour) << 8);
    vertex.Blue = static_cast<COLOR16>(GetBValue(colour) << 8);
    vertex.Alpha = 0;
    return vertex;
}

// Frees the previous picture and puts a new, empty one in its place (null
// when memory is short; rendering then skips that picture).
CBitmap* ReplaceImage(std::unique_ptr<CBitmap>& image) {
    image.reset();
    image.reset(new (std::nothrow) CBitmap);
    return image.get();
}

// A caption wider than width (in dc's font) keeps as many leading
// characters as fit together with an ellipsis, which replaces the rest. text
// has room for one unit more than length. Returns the length to draw.
int ShortenToFit(HDC dc, wchar_t* text, int length, int width) {
    static const wchar_t kEllipsis[] = L"\x2026";
    SIZE whole = {};
    if (length == 0 || !::GetTextExtentPoint32W(dc, text, length, &whole) || whole.cx <= width) {
        return length;
    }
    SIZE ellipsis = {};
    ::GetTextExtentPoint32W(dc, kEllipsis, 1, &ellipsis);
    const int room = width - ellipsis.cx;
    int fit = 0;
    SIZE kept = {};
    if (room <= 0 || !::GetTextExtentExPointW(dc, text, length, room, &fit, nullptr, &kept)) {
        fit = 0;
    }
    text[fit] = kEllipsis[0];
    text[fit + 1] = L'\0';
    return fit + 1;
}

} // namespace

int CALLBACK EnumCaptionFaceProc(const LOGFONTW* logFont, const TEXTMETRICW*, DWORD, LPARAM) {
    if (logFont == nullptr) {
        return 1;
    }
    // lstrcpynW reads at most LF_FACESIZE - 1 units, so even a face name
    // without a terminator in its 32 units is never read past.
    wchar_t name[LF_FACESIZE] = {};
    ::lstrcpynW(name, logFont->lfFaceName, LF_FACESIZE);
    // A name starting with '@' is a family's vertical face, whose CJK glyphs
    // lie on their side: a Japanese caption would be drawn sideways. Where
    // the fonts list it (after its upright face or before) depends on the
    // system, so it is skipped by name.
    if (name[0] != L'@' && ::lstrcmpiW(name, L"System") != 0 &&
        ::StrStrW(name, L"Arial") != nullptr && ::StrCmpIW(name, L"Arial Black") != 0) {
        ::lstrcpynW(g_szCaptionFace, name, MAX_PATH);
    }
    return 1;
}

BEGIN_MESSAGE_MAP(EntryButton, CButton)
ON_WM_ERASEBKGND()
ON_WM_MOUSEMOVE()
ON_WM_CREATE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_KEYDOWN()
ON_WM_GETDLGCODE()
ON_MESSAGE(WM_SYSCOLORCHANGE, OnSysColorChange)
END_MESSAGE_MAP()

EntryButton::EntryButton()
    : m_nDepth(1), m_crNormal(::GetSysColor(COLOR_BTNFACE)),
      m_crPressed(::GetSysColor(COLOR_BTNFACE)), m_crHover(::GetSysColor(COLOR_BTNFACE)),
      m_crDisabled(::GetSysColor(COLOR_BTNFACE)), m_nCenterX(0), m_nCenterY(0), m_bPressed(FALSE),
      m_bHover(FALSE), m_bCaptured(FALSE), m_bNeedsRender(TRUE), m_nDpi(kDesignDpi) {}

EntryButton::~EntryButton() {
    m_pImageNormal.reset();
    m_pImagePressed.reset();
    m_pImageHover.reset();
    m_pImageDisabled.reset();
    // Only a shape the window never took is still held here.
    m_hShape.reset();
}

BOOL EntryButton::Create(LPCWSTR text, DWORD style, int x, int y, HRGN shape, CWnd* parent, UINT id,
                         int depth, COLORREF crNormal, COLORREF crPressed, COLORREF crHover,
                         COLORREF crDisabled) {
    m_nDepth = depth;
    m_crNormal = crNormal;
    m_crPressed = crPressed;
    m_crHover = crHover;
    m_crDisabled = crDisabled;
    return CreateShaped(text, style, x, y, shape, parent, id);
}

BOOL EntryButton::Create(LPCWSTR text, DWORD style, int x, int y, HRGN shape, CWnd* parent, UINT id,
                         int depth) {
    auto gradient = [](ButtonLook look) { return MenuColours::Button(look, false).bottom; };
    return Create(text, style, x, y, shape, parent, id, depth, gradient(ButtonLook::kNormal),
                  gradient(ButtonLook::kPressed), gradient(ButtonLook::kHover),
                  gradient(ButtonLook::kDisabled));
}

BOOL EntryButton::CreateShaped(LPCWSTR text, DWORD style, int x, int y, HRGN shape, CWnd* parent,
                               UINT id) {
    // A shape left over from an earlier call that never reached a window.
    m_hShape.reset();
    RECT rect = AdoptCopyOf(shape);
    ::OffsetRect(&rect, x, y);
    return CButton::Create(text, style, rect, parent, id);
}

void EntryButton::Reshape(HRGN shape) {
    const RECT box = AdoptCopyOf(shape);
    SetWindowPos(nullptr, 0, 0, Width(box), Height(box),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    HandShapeToWindow();
    m_bNeedsRender = TRUE;
}

void EntryButton::SetDpi(int dpi) {
    if (dpi != m_nDpi) {
        m_nDpi = dpi;
        m_bNeedsRender = TRUE;
    }
}

void EntryButton::SetHighContrast(bool on) {
    if (on != m_bHighContrast) {
        m_bHighContrast = on;
        m_bNeedsRender = TRUE;
    }
}

RECT EntryButton::AdoptCopyOf(HRGN shape) {
    UniqueRegion copy(::CreateRectRgn(0, 0, 0, 0));
    if (copy && shape != nullptr) {
        ::CombineRgn(copy.get(), shape, nullptr, RGN_COPY);
    }
    return AdoptShape(copy.release());
}

RECT EntryButton::AdoptShape(HRGN region) {
    m_hShape.reset(region);
    RECT box = {0, 0, 0, 0};
    // An empty region (or none) has the empty box at the origin.
    if (m_hShape && ::GetRgnBox(m_hShape.get(), &box) > NULLREGION) {
        ::OffsetRgn(m_hShape.get(), -box.left, -box.top);
        ::GetRgnBox(m_hShape.get(), &box);
    } else {
        box = RECT{0, 0, 0, 0};
    }
    m_nCenterX = box.left + Width(box) / 2;
    m_nCenterY = box.top + Height(box) / 2;
    return box;
}

void EntryButton::HandShapeToWindow() {
    if (SetWindowRgn(m_hShape.get(), TRUE) != 0) {
        m_hShape.release(); // the window owns the region now
    }
}

void EntryButton::ApplyRoundedShape() {
    const int width = ScaleToDpi(
        ReadProfileInt(ProfileKey::kButtonEllipticalWidth, kDefaultButtonEllipse), m_nDpi);
    const int height = ScaleToDpi(
        ReadProfileInt(ProfileKey::kButtonEllipticalHeight, kDefaultButtonEllipse), m_nDpi);
    RECT rect = {0, 0, 0, 0};
    GetClientRect(&rect);
    // Wine makes a one-pixel region at (-1, -1) of a round rectangle with no
    // area; a button without area gets the empty shape instead.
    HRGN shape = ::IsRectEmpty(&rect) ? ::CreateRectRgn(0, 0, 0, 0)
                                      : ::CreateRoundRectRgn(rect.left, rect.top, rect.right,
                                                             rect.bottom, width, height);
    AdoptShape(shape); // also moves the caption centre to the new box
    HandShapeToWindow();
    m_bNeedsRender = TRUE;
}

void EntryButton::PreSubclassWindow() {
    // Runs while the window is being created, before WM_CREATE: whatever
    // style the creator passed, the button is an owner-drawn tab stop.
    ModifyStyle(0, BS_OWNERDRAW | WS_TABSTOP);
    CButton::PreSubclassWindow();
}

LRESULT EntryButton::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // The system's button procedure answers a double click on an owner-drawn
    // button with BN_DOUBLECLICKED instead of a click; as a plain second
    // press, the second click of a double click is a click like the first.
    if (message == WM_LBUTTONDBLCLK) {
        message = WM_LBUTTONDOWN;
    }
    return CButton::DefWindowProc(message, wParam, lParam);
}

int EntryButton::OnCreate(LPCREATESTRUCTW createStruct) {
    if (CButton::OnCreate(createStruct) == -1) {
        return -1;
    }
    m_bNeedsRender = TRUE;
    HandShapeToWindow();
    return 0;
}

BOOL EntryButton::OnEraseBkgnd(CDC*) {
    // Every paint covers the whole client area with a picture.
    return TRUE;
}

void EntryButton::OnMouseMove(UINT flags, POINT point) {
    if (!m_bPressed) {
        TrackHover(point);
    }
    CButton::OnMouseMove(flags, point);
}

void EntryButton::OnLButtonDown(UINT flags, POINT point) {
    m_bPressed = TRUE;
    if (!m_bCaptured) {
        TakeCapture();
    }
    CButton::OnLButtonDown(flags, point);
}

void EntryButton::OnLButtonUp(UINT flags, POINT point) {
    // The system's button procedure releases the button first and sends the
    // click to the parent when the pointer is still on it.
    CButton::OnLButtonUp(flags, point);
    m_bPressed = FALSE;
    if (m_bCaptured) {
        DropCapture();
    }
    TrackHover(point);
}

void EntryButton::OnKeyDown(UINT key, UINT, UINT) {
    // Posted, never sent: the parent acts on a key only after this handler
    // has returned. No key-down reaches the system's button procedure.
    HWND parent = ::GetParent(m_hWnd);
    switch (key) {
    case VK_NEXT:
    case VK_DOWN:
    case VK_RIGHT:
        ::PostMessageW(parent, WM_NEXTDLGCTL, kFocusNext, 0);
        break;
    case VK_PRIOR:
    case VK_UP:
    case VK_LEFT:
        ::PostMessageW(parent, WM_NEXTDLGCTL, kFocusPrevious, 0);
        break;
    case VK_TAB:
        ::PostMessageW(parent, WM_NEXTDLGCTL,
                       ::GetKeyState(VK_SHIFT) < 0 ? kFocusPrevious : kFocusNext, 0);
        break;
    case VK_RETURN:
    case VK_SPACE: {
        WORD id = LOWORD(::GetWindowLongW(m_hWnd, GWL_ID));
        ::PostMessageW(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(m_hWnd));
        break;
    }
    case VK_ESCAPE:
        ::PostMessageW(parent, WM_CLOSE, 0, 0);
        break;
    default:
        break;
    }
}

UINT EntryButton::OnGetDlgCode() {
    // Tab, the arrows, Enter and Escape come here instead of being acted on
    // by the dialog manager.
    return DLGC_WANTALLKEYS;
}

LRESULT EntryButton::OnSysColorChange(WPARAM, LPARAM) {
    // The pictures hold system colours even when high contrast stays as it
    // was.
    m_bHighContrast = MenuColours::IsHighContrastOn();
    m_bNeedsRender = TRUE;
    Invalidate(FALSE);
    return 0;
}

bool EntryButton::IsInsideShape(POINT point) const {
    // The window region, not the held shape: the window has taken that.
    UniqueRegion region = CopyWindowRegion(m_hWnd);
    if (!region) {
        return false;
    }
    RECT box = {0, 0, 0, 0};
    ::GetRgnBox(region.get(), &box);
    return ::PtInRect(&box, point) && ::PtInRegion(region.get(), point.x, point.y);
}

void EntryButton::TakeCapture() {
    // Whoever held the capture before does not matter here.
    SetCapture();
    m_bCaptured = TRUE;
}

void EntryButton::DropCapture() {
    ::ReleaseCapture();
    m_bCaptured = FALSE;
}

void EntryButton::TrackHover(POINT point) {
    const UINT redraw = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;
    if (IsInsideShape(point)) {
        // Holding the capture while the pointer is over the shape is what
        // lets the button see it leave: the first move outside still comes
        // here.
        if (!m_bCaptured) {
            TakeCapture();
        }
        if (m_bHover) {
            return;
        }
        m_bHover = TRUE;
        RedrawWindow(nullptr, nullptr, redraw);
        return;
    }
    if (m_bCaptured) {
        DropCapture();
    }
    m_bHover = FALSE;
    RedrawWindow(nullptr, nullptr, redraw);
}

// --- Painting ----------------------------------------------------------------

void EntryButton::DrawItem(LPDRAWITEMSTRUCT drawItemStruct) {
    if (drawItemStruct == nullptr) {
        return;
    }
    CDC targetDC(drawItemStruct->hDC); // borrowed from the message
    RECT rect = {0, 0, 0, 0};
    GetClientRect(&rect);
    targetDC.SetBkColor(RGB(0, 0, 0));
    if (m_bNeedsRender) {
        RenderStateImages(&targetDC, rect);
    }
    PresentStateImage(&targetDC, rect, drawItemStruct->itemState);
}

void EntryButton::RenderStateImages(CDC* targetDC, const RECT& rect) {
    // All four on one memory DC, in this order.
    CDC memoryDC;
    memoryDC.CreateCompatibleDC(targetDC);
    bool rendered = RenderStateImage(targetDC, &memoryDC, ReplaceImage(m_pImageNormal),
                                     ColoursOf(ButtonLook::kNormal, m_crNormal), rect, FALSE);
    rendered &= RenderStateImage(targetDC, &memoryDC, ReplaceImage(m_pImagePressed),
                                 ColoursOf(ButtonLook::kPressed, m_crPressed), rect, TRUE);
    rendered &= RenderStateImage(targetDC, &memoryDC, ReplaceImage(m_pImageHover),
                                 ColoursOf(ButtonLook::kHover, m_crHover), rect, FALSE);
    rendered &= RenderStateImage(targetDC, &memoryDC, ReplaceImage(m_pImageDisabled),
                                 ColoursOf(ButtonLook::kDisabled, m_crDisabled), rect, FALSE);
    memoryDC.DeleteDC();
    // The old pictures are gone by now: after a failure the next paint must
    // try again, or the button would stay blank for good.
    m_bNeedsRender = rendered ? FALSE : TRUE;
}

LookColours EntryButton::ColoursOf(ButtonLook look, COLORREF gradient) const {
    LookColours colours = MenuColours::Button(look, m_bHighContrast);
    if (!m_bHighContrast) {
        colours.bottom = gradient; // the colour this button was created with
    } else if (!m_bCaptionDrawn) {
        // A button without a caption is a symbol (a scroll triangle): its
        // shape is what is read, so it takes the caption's colour.
        colours.top = colours.caption;
        colours.bottom = colours.caption;
    }
    return colours;
}

bool EntryButton::RenderStateImage(CDC* targetDC, CDC* memoryDC, CBitmap* image,
                                   const LookColours& colours, const RECT& rect, BOOL shifted) {
    if (image == nullptr || memoryDC->GetSafeHdc() == nullptr) {
        return false;
    }
    // Compatible with the screen's DC, not with the memory DC, which would
    // give a monochrome bitmap.
    if (!image->CreateCompatibleBitmap(targetDC, Width(rect), Height(rect))) {
        return false;
    }
    ScopedSelection selection(memoryDC->GetSafeHdc(), image->GetSafeHandle());
    UniqueRegion shape = CopyWindowRegion(m_hWnd);

    TRIVERTEX vertices[2] = {Vertex(rect.left, rect.top, colours.top),
                             Vertex(Width(rect), Height(rect), colours.bottom)};
    GRADIENT_RECT mesh = {0, 1};
    memoryDC->GradientFill(vertices, 2, &mesh, 1, GRADIENT_FILL_RECT_V);

    if (m_bCaptionDrawn) {
        DrawCaption(memoryDC, rect, colours, shifted);
    }
    if (shape) {
        DrawOutline(memoryDC, shape.get(), colours.outline);
    }
    return true;
}

UniqueFont EntryButton::CreateCaptionFont(HDC dc) const {
    LOGFONTW font = {};
    HFONT parentFont =
        reinterpret_cast<HFONT>(::SendMessageW(::GetParent(m_hWnd), WM_GETFONT, 0, 0));
    ::GetObjectW(parentFont, sizeof font, &font);

    ::EnumFontFamiliesW(dc, nullptr, EnumCaptionFaceProc, reinterpret_cast<LPARAM>(m_hWnd));
    if (g_szCaptionFace[0] != L'\0') {
        ::lstrcpynW(font.lfFaceName, g_szCaptionFace, LF_FACESIZE);
    }
    // Twice the parent's height with the sign turned over: the parent's
    // character height of -11 becomes a cell height of 22.
    font.lfHeight = -::MulDiv(font.lfHeight, 200, 100);
    return UniqueFont(::CreateFontIndirectW(&font));
}

void EntryButton::DrawCaption(CDC* dc, const RECT& rect, const LookColours& colours, BOOL shifted) {
    int oldMode = dc->SetBkMode(TRANSPARENT);

    // One unit more than a caption can have, for the ellipsis.
    wchar_t text[MAX_PATH + 1] = {};
    GetWindowText(text, MAX_PATH);
    text[MAX_PATH - 1] = L'\0';

    {
        UniqueFont captionFont = CreateCaptionFont(dc->GetSafeHdc());
        ScopedSelection selection(dc->GetSafeHdc(), captionFont.get());
        TEXTMETRICW metrics = {};
        dc->GetTextMetrics(&metrics);

        // The reference point is the bottom centre of the text.
        int x = m_nCenterX;
        int y = m_nCenterY + metrics.tmHeight / 2;
        if (shifted) {
            x += ScaleToDpi(m_nDepth, m_nDpi);
            y += ScaleToDpi(m_nDepth, m_nDpi);
        }
        int length = ShortenToFit(dc->GetSafeHdc(), text, ::lstrlenW(text),
                                  Width(rect) - metrics.tmAveCharWidth);
        // Set for every caption: the embossed one must not depend on what
        // earlier renderings left on a shared DC.
        dc->SetTextAlign(TA_CENTER | TA_BOTTOM);
        if (colours.emboss != CLR_INVALID) {
            // The light copy one pixel (at 96 DPI) down and right embosses it.
            const int emboss = ScaleToDpi(1, m_nDpi);
            dc->SetTextColor(colours.emboss);
            dc->TextOut(x + emboss, y + emboss, text, length);
        }
        dc->SetTextColor(colours.caption);
        dc->TextOut(x, y, text, length);
    }

    dc->SetBkMode(oldMode);
}

void EntryButton::DrawOutline(CDC* dc, HRGN shape, COLORREF colour) {
    // The shape minus itself moved by (d, d) is the band of shape pixels
    // within d of its upper or left edge; moved by (-d, -d), the band along
    // its lower and right edges. The bands are 2 and 1 pixels wide at 96 DPI.
    const int wide = ScaleToDpi(2, m_nDpi);
    const int narrow = ScaleToDpi(1, m_nDpi);
    // A depth of 2 draws both pairs of bands, a depth of 1 the narrow pair.
    const POINT allOffsets[] = {{wide, wide}, {-wide, -wide}, {narrow, narrow}, {-narrow, -narrow}};
    const POINT* offsets = m_nDepth == 2 ? allOffsets : allOffsets + 2;
    int count = m_nDepth == 2 ? 4 : 2;

    UniqueRegion working(::CreateRectRgn(0, 0, 0, 0));
    if (!working) {
        return;
    }
    for (int i = 0; i < count; ++i) {
        ::CombineRgn(working.get(), shape, nullptr, RGN_COPY);
        ::OffsetRgn(working.get(), offsets[i].x, offsets[i].y);
        ::CombineRgn(working.get(), shape, working.get(), RGN_DIFF);
        UniqueBrush brush(::CreateSolidBrush(colour));
        dc->FillRgn(working.get(), brush.get());
    }
}

void EntryButton::PresentStateImage(CDC* targetDC, const RECT& rect, UINT itemState) {
    CBitmap* image = m_pImageNormal.get();
    if (itemState & ODS_DISABLED) {
        image = m_pImageDisabled.get();
    } else if (itemState & ODS_SELECTED) {
        image = m_pImagePressed.get();
    } else if (m_bHover) {
        image = m_pImageHover.get();
    } else if (itemState & ODS_FOCUS) {
        // No focus rectangle: the focused button shows the pressed look.
        image = m_pImagePressed.get();
    }
    if (image == nullptr || image->GetSafeHandle() == nullptr) {
        return;
    }

    CDC memoryDC;
    if (!memoryDC.CreateCompatibleDC(targetDC)) {
        return;
    }
    ScopedSelection selection(memoryDC.GetSafeHdc(), image->GetSafeHandle());
    UniqueRegion shape = CopyWindowRegion(m_hWnd);
    if (!shape) {
        return; // without a clip region the copy would cover the bounding box
    }
    targetDC->SelectClipRgn(shape.get());
    targetDC->BitBlt(0, 0, Width(rect), Height(rect), &memoryDC, 0, 0, SRCCOPY);
    targetDC->SelectClipRgn(nullptr);
}
