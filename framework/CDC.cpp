#include "framework/CDC.h"

BOOL CDC::CreateCompatibleDC(CDC* pDC) {
    m_memoryDc.reset(::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr));
    m_hDC = m_memoryDc.get();
    return m_hDC != nullptr;
}

BOOL CDC::DeleteDC() {
    if (!m_memoryDc) {
        return FALSE;
    }
    m_memoryDc.reset();
    m_hDC = nullptr;
    return TRUE;
}

SIZE CDC::GetTextExtent(LPCWSTR text, int count) const {
    SIZE size = {0, 0};
    ::GetTextExtentPoint32W(m_hDC, text, count, &size);
    return size;
}
