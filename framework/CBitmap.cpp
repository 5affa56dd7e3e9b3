#include "framework/CBitmap.h"

#include "framework/CDC.h"

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int width, int height) {
    return Attach(::CreateCompatibleBitmap(pDC ? pDC->GetSafeHdc() : nullptr, width, height));
}
