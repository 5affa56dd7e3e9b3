#include "ScopedEnvironmentVariable.h"

#include <windows.h>

#include <vector>

std::wstring EnvironmentVariable(const std::wstring& name) {
    // The size asked for includes the terminator; 0 means no such variable.
    const DWORD size = ::GetEnvironmentVariableW(name.c_str(), nullptr, 0);
    std::vector<wchar_t> value(size + 1);
    const DWORD length = ::GetEnvironmentVariableW(name.c_str(), value.data(), size + 1);
    return std::wstring(value.data(), length <= size ? length : 0);
}

ScopedEnvironmentVariable::ScopedEnvironmentVariable(std::wstring name, const std::wstring& value)
    : m_name(std::move(name)), m_previous(EnvironmentVariable(m_name)),
      m_existed(::GetEnvironmentVariableW(m_name.c_str(), nullptr, 0) > 0) {
    ::SetEnvironmentVariableW(m_name.c_str(), value.c_str());
}

ScopedEnvironmentVariable::~ScopedEnvironmentVariable() {
    ::SetEnvironmentVariableW(m_name.c_str(), m_existed ? m_previous.c_str() : nullptr);
}
