#include "ScopedEnvironmentVariable.h"

#include <windows.h>

ScopedEnvironmentVariable::ScopedEnvironmentVariable(std::wstring name, const std::wstring& value)
    : m_name(std::move(name)), m_existed(ReadEnvironmentVariable(m_name.c_str(), m_previous)) {
    ::SetEnvironmentVariableW(m_name.c_str(), value.c_str());
}

ScopedEnvironmentVariable::~ScopedEnvironmentVariable() {
    ::SetEnvironmentVariableW(m_name.c_str(), m_existed ? m_previous.c_str() : nullptr);
}
