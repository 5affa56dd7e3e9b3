// COM initialised on this thread for the holder's lifetime (the BIOS library
// requires its callers to have done it); uninitialised only when the
// initialisation succeeded, as the pairing rule asks.
#pragma once

#include <objbase.h>

class ComApartment {
public:
    explicit ComApartment(DWORD model = COINIT_APARTMENTTHREADED)
        : m_result(::CoInitializeEx(nullptr, model)) {}
    ~ComApartment() {
        if (SUCCEEDED(m_result)) {
            ::CoUninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT m_result;
};
