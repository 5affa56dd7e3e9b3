#include "Waiting.h"

#include <cwchar>

namespace {

DWORD Scale() {
    static const DWORD scale = [] {
        wchar_t text[16] = {};
        DWORD length = ::GetEnvironmentVariableW(L"TEST_TIME_SCALE", text, 16);
        long value = length > 0 && length < 16 ? std::wcstol(text, nullptr, 10) : 1;
        return static_cast<DWORD>(value >= 1 && value <= 100 ? value : 1);
    }();
    return scale;
}

} // namespace

DWORD TimeLimit(DWORD ms) {
    return ms == INFINITE ? ms : ms * Scale();
}

bool WaitUntil(const std::function<bool()>& condition, DWORD limitMs) {
    const DWORD limit = TimeLimit(limitMs);
    const DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start > limit) {
            return false;
        }
        ::Sleep(10);
    }
    return true;
}
