// A DC of a window's whole client area (GetDC), not clipped to an update
// region; released with ReleaseDC on destruction.
#pragma once

#include "framework/CDC.h"

class CWnd;

class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* wnd);

private:
    WindowDc m_windowDc;
};
