// COM initialised on this thread for the scope's lifetime: wzkWmiBios
// requires its callers to have done it.
#pragma once

#include <objbase.h>

class ComScope {
public:
    explicit ComScope(DWORD model) : m_result(::CoInitializeEx(nullptr, model)) {}
    ~ComScope() {
        if (SUCCEEDED(m_result)) {
            ::CoUninitialize();
        }
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    HRESULT m_result;
};
