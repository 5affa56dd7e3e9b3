#include "GuardedBuffer.h"

#include <gtest/gtest.h>

#include <cwchar>

GuardedBuffer::GuardedBuffer(size_t units) : m_units(units) {
    SYSTEM_INFO info;
    ::GetSystemInfo(&info);
    const size_t page = info.dwPageSize;
    const size_t bytes = units * sizeof(wchar_t);
    const size_t dataPages = (bytes + page - 1) / page;
    m_pages =
        ::VirtualAlloc(nullptr, (dataPages + 1) * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (m_pages == nullptr) {
        ADD_FAILURE() << "VirtualAlloc failed";
        return;
    }
    BYTE* guard = static_cast<BYTE*>(m_pages) + dataPages * page;
    DWORD old = 0;
    if (!::VirtualProtect(guard, page, PAGE_NOACCESS, &old)) {
        ADD_FAILURE() << "VirtualProtect failed";
    }
    m_buffer = reinterpret_cast<wchar_t*>(guard - bytes);
}

GuardedBuffer::~GuardedBuffer() {
    if (m_pages != nullptr) {
        ::VirtualFree(m_pages, 0, MEM_RELEASE);
    }
}

void GuardedBuffer::Assign(const std::wstring& text) {
    wmemset(m_buffer, L'\0', m_units);
    ASSERT_LT(text.size(), m_units) << "text does not fit the guarded buffer";
    wmemcpy(m_buffer, text.data(), text.size());
}

void GuardedBuffer::FillUnterminated(const std::wstring& text) {
    ASSERT_FALSE(text.empty());
    for (size_t i = 0; i < m_units; ++i) {
        m_buffer[i] = text[i % text.size()];
    }
}

std::wstring GuardedBuffer::Text() const {
    size_t length = 0;
    while (length < m_units && m_buffer[length] != L'\0') {
        ++length;
    }
    return std::wstring(m_buffer, length);
}

bool GuardedBuffer::IsTerminated() const {
    for (size_t i = 0; i < m_units; ++i) {
        if (m_buffer[i] == L'\0') {
            return true;
        }
    }
    return false;
}
