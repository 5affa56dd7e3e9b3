// The DC of a WM_PAINT: BeginPaint on construction, EndPaint on destruction.
#pragma once

#include "framework/CDC.h"

class CWnd;

class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC();

    PAINTSTRUCT m_ps = {};

private:
    HWND m_hWnd;
};
