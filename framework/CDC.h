// A device context. Constructed from an HDC it only borrows it (the DC of a
// paint or owner-draw message); CreateCompatibleDC makes it own a memory DC,
// which it deletes. The drawing members are the thin calls the menu uses.
#pragma once

#include "common/UniqueHandle.h"

#include <windows.h>

class CDC {
public:
    CDC() = default;
    explicit CDC(HDC borrowed) : m_hDC(borrowed) {}
    ~CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }

    // A memory DC compatible with pDC (the screen when null), owned by this object.
    BOOL CreateCompatibleDC(CDC* pDC);
    BOOL DeleteDC();

    int SelectClipRgn(HRGN region) { return ::SelectClipRgn(m_hDC, region); }

    COLORREF SetBkColor(COLORREF color) { return ::SetBkColor(m_hDC, color); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    COLORREF SetTextColor(COLORREF color) { return ::SetTextColor(m_hDC, color); }
    UINT SetTextAlign(UINT flags) { return ::SetTextAlign(m_hDC, flags); }

    BOOL ExtTextOut(int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count,
                    const INT* dx = nullptr) {
        return ::ExtTextOutW(m_hDC, x, y, options, rect, text, count, dx);
    }
    BOOL TextOut(int x, int y, LPCWSTR text, int count) {
        return ::TextOutW(m_hDC, x, y, text, count);
    }
    BOOL GetTextMetrics(TEXTMETRICW* metrics) const { return ::GetTextMetricsW(m_hDC, metrics); }
    SIZE GetTextExtent(LPCWSTR text, int count) const;

    BOOL RoundRect(const RECT& rect, POINT ellipse) {
        return ::RoundRect(m_hDC, rect.left, rect.top, rect.right, rect.bottom, ellipse.x,
                           ellipse.y);
    }
    BOOL FillRgn(HRGN region, HBRUSH brush) { return ::FillRgn(m_hDC, region, brush); }
    BOOL GradientFill(TRIVERTEX* vertices, ULONG vertexCount, void* mesh, ULONG meshCount,
                      ULONG mode) {
        return ::GradientFill(m_hDC, vertices, vertexCount, mesh, meshCount, mode);
    }
    BOOL BitBlt(int x, int y, int width, int height, CDC* source, int xSource, int ySource,
                DWORD rop) {
        return ::BitBlt(m_hDC, x, y, width, height, source ? source->m_hDC : nullptr, xSource,
                        ySource, rop);
    }

    BOOL BeginPath() { return ::BeginPath(m_hDC); }
    BOOL EndPath() { return ::EndPath(m_hDC); }
    BOOL MoveTo(int x, int y) { return ::MoveToEx(m_hDC, x, y, nullptr); }
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    // The recorded path as a new region, owned by the caller.
    HRGN PathToRegion() { return ::PathToRegion(m_hDC); }

protected:
    // For the DCs of derived classes, which own them in their own way.
    void SetHdc(HDC dc) { m_hDC = dc; }

private:
    HDC m_hDC = nullptr;
    UniqueMemoryDc m_memoryDc;
};
