#include "framework/CClientDC.h"

#include "framework/CWnd.h"

CClientDC::CClientDC(CWnd* wnd) : m_windowDc(wnd ? wnd->GetSafeHwnd() : nullptr) {
    SetHdc(m_windowDc.get());
}
