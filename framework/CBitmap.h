#pragma once

#include "framework/CGdiObject.h"

class CDC;

class CBitmap : public CGdiObject {
public:
    // A bitmap compatible with pDC's surface (its colour format), owned.
    BOOL CreateCompatibleBitmap(CDC* pDC, int width, int height);
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
};
