#include "Waiting.h"

#include "common/EnvironmentVariable.h"

#include <cwchar>
#include <string>

namespace {

DWORD Scale() {
    static const DWORD scale = [] {
        std::wstring text;
        long value = ReadEnvironmentVariable(L"TEST_TIME_SCALE", text)
                         ? std::wcstol(text.c_str(), nullptr, 10)
                         : 1;
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
