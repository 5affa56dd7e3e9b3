// The owner-drawn, region-shaped push button the menu is built of: every
// entry and both scroll buttons. It carries a window region (its shape),
// tests the pointer against that region, shows a hover look while the
// pointer is over it (tracked through the mouse capture), and turns the keys
// that matter in the menu into messages posted to its parent, so that the
// menu window rather than the dialog manager moves the focus, acts on a
// choice and closes.
//
// It paints itself from four cached pictures (normal, pressed, hover,
// disabled), rendered together off screen whenever they are stale; a paint
// is then a single clipped copy of one of them. The pictures are gradients,
// or with high contrast on, plain fills in the system's colours.
#pragma once

#include "common/UniqueHandle.h"
#include "framework/CBitmap.h"
#include "framework/CButton.h"
#include "framework/CDC.h"
#include "media_menu/controls/MenuColours.h"

#include <windows.h>

#include <memory>

// The face name the captions use: the last installed family accepted by
// EnumCaptionFaceProc. Shared by every button, empty until the first
// rendering finds a family, and never cleared afterwards.
extern wchar_t g_szCaptionFace[MAX_PATH];

// Font family enumeration callback (EnumFontFamiliesW): keeps in
// g_szCaptionFace every face that contains "Arial" (that exact case), is no
// vertical face (a name starting with '@') and is neither "System" nor
// "Arial Black" (either compared without case), so the last such family
// reported wins. Always returns 1 to see every family.
int CALLBACK EnumCaptionFaceProc(const LOGFONTW* logFont, const TEXTMETRICW* textMetric,
                                 DWORD fontType, LPARAM parameter);

// WM_NEXTDLGCTL's wParam as the buttons post it for the keys that move the
// focus.
constexpr WPARAM kFocusNext = 0;
constexpr WPARAM kFocusPrevious = 1;

class EntryButton : public CButton {
public:
    EntryButton();
    ~EntryButton() override;

    // Creates the button with a copy of shape (the caller keeps its own
    // region) and sets the depth of the pressed look and the lower gradient
    // colours of the four looks. Returns non-zero on success.
    BOOL Create(LPCWSTR text, DWORD style, int x, int y, HRGN shape, CWnd* parent, UINT id,
                int depth, COLORREF crNormal, COLORREF crPressed, COLORREF crHover,
                COLORREF crDisabled);
    // As above, in the menu's own gradient colours (MenuColours).
    BOOL Create(LPCWSTR text, DWORD style, int x, int y, HRGN shape, CWnd* parent, UINT id,
                int depth);
    // Creates the button window with a copy of shape moved so that its
    // bounding box starts at (x, y) in the parent's client area; the window
    // is exactly as large as that box. The caption is centred on the box's
    // centre. An empty shape gives a 0 by 0 window at (x, y).
    BOOL CreateShaped(LPCWSTR text, DWORD style, int x, int y, HRGN shape, CWnd* parent, UINT id);

    // Gives the button a rounded-rectangle shape filling its current client
    // area, with the corner ellipse from the "Button Elliptical Width" and
    // "Button Elliptical Height" settings (4 by 4 when absent; both at 96
    // DPI), read anew on every call; the pictures are rendered again at the
    // next paint.
    void ApplyRoundedShape();
    // Gives the button a copy of shape in place of its current one and makes
    // it as large as the shape's bounding box, keeping its top-left corner.
    void Reshape(HRGN shape);

    // The DPI the pictures' outline, caption offsets and corners are drawn
    // at (96 until set); a change renders the pictures again.
    void SetDpi(int dpi);
    // Whether the pictures show the window text; a button whose text is only
    // its name for screen readers draws none.
    void SetCaptionDrawn(bool drawn) { m_bCaptionDrawn = drawn; }
    // Whether the pictures are drawn in the system's high-contrast colours
    // (MenuColours) instead of the gradients: off until set (whoever makes
    // many buttons asks the system once for them all), then taken from the
    // system at every WM_SYSCOLORCHANGE, which the parent must pass on: only
    // top-level windows are told. A change renders the pictures again.
    void SetHighContrast(bool on);

    // WM_DRAWITEM, reflected from the parent.
    void DrawItem(LPDRAWITEMSTRUCT drawItemStruct) override;

    // The font the caption is drawn in: the parent's font in the caption
    // face (looked for among dc's font families), twice as high. A caption
    // wider than the button less one average character of this font is
    // drawn shortened, ending in an ellipsis.
    UniqueFont CreateCaptionFont(HDC dc) const;

protected:
    void PreSubclassWindow() override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    BOOL OnEraseBkgnd(CDC* dc);
    void OnMouseMove(UINT flags, POINT point);
    int OnCreate(LPCREATESTRUCTW createStruct);
    void OnLButtonDown(UINT flags, POINT point);
    void OnLButtonUp(UINT flags, POINT point);
    void OnKeyDown(UINT key, UINT repeatCount, UINT flags);
    UINT OnGetDlgCode();
    LRESULT OnSysColorChange(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

    // Painting.
    void RenderStateImages(CDC* targetDC, const RECT& rect);
    // The colours of a look; gradient is its lower gradient colour when high
    // contrast is off.
    LookColours ColoursOf(ButtonLook look, COLORREF gradient) const;
    // False when the picture could not be made.
    bool RenderStateImage(CDC* targetDC, CDC* memoryDC, CBitmap* image, const LookColours& colours,
                          const RECT& rect, BOOL shifted);
    void DrawCaption(CDC* dc, const RECT& rect, const LookColours& colours, BOOL shifted);
    void DrawOutline(CDC* dc, HRGN shape, COLORREF colour);
    void PresentStateImage(CDC* targetDC, const RECT& rect, UINT itemState);

    int m_nDepth;
    COLORREF m_crNormal;
    COLORREF m_crPressed;
    COLORREF m_crHover;
    COLORREF m_crDisabled;
    std::unique_ptr<CBitmap> m_pImageNormal;
    std::unique_ptr<CBitmap> m_pImagePressed;
    std::unique_ptr<CBitmap> m_pImageHover;
    std::unique_ptr<CBitmap> m_pImageDisabled;
    int m_nCenterX;
    int m_nCenterY;
    BOOL m_bPressed;
    BOOL m_bHover;
    BOOL m_bCaptured;
    // The shape while the button still holds it: empty once the window has
    // taken it as its window region.
    UniqueRegion m_hShape;
    BOOL m_bNeedsRender;
    int m_nDpi;
    bool m_bCaptionDrawn = true;
    bool m_bHighContrast = false;

private:
    // A copy of shape (an empty region for none), made the held shape.
    RECT AdoptCopyOf(HRGN shape);
    // Makes region the held shape, moved so that its bounding box starts at
    // (0, 0), and takes the caption centre from that box. Returns the box.
    RECT AdoptShape(HRGN region);
    // Hands the held shape to the window as its window region.
    void HandShapeToWindow();
    // Whether a client point lies in the window region.
    bool IsInsideShape(POINT point) const;
    void TrackHover(POINT point);
    void TakeCapture();
    void DropCapture();
};
