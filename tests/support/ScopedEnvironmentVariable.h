#pragma once

#include "common/EnvironmentVariable.h"

#include <string>

// Sets an environment variable of this process (and so of the programs it
// starts) for the holder's lifetime, then restores the earlier value, or
// removes the variable when it had none.
class ScopedEnvironmentVariable {
public:
    ScopedEnvironmentVariable(std::wstring name, const std::wstring& value);
    ~ScopedEnvironmentVariable();
    ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
    ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

private:
    std::wstring m_name;
    std::wstring m_previous;
    bool m_existed = false;
};
