#include "RegistryProbe.h"

#include "TestPaths.h"
#include "common/UniqueHandle.h"

#include <gtest/gtest.h>

std::wstring RegistryValue::Text() const {
    std::wstring text(data.size() / sizeof(wchar_t), L'\0');
    if (!text.empty()) {
        memcpy(&text[0], data.data(), text.size() * sizeof(wchar_t));
    }
    return text.substr(0, text.find(L'\0'));
}

std::string RegistryValue::AnsiText() const {
    std::string text(data.begin(), data.end());
    return text.substr(0, text.find('\0'));
}

DWORD RegistryValue::Dword() const {
    DWORD value = 0;
    memcpy(&value, data.data(), data.size() < sizeof value ? data.size() : sizeof value);
    return value;
}

bool operator==(const RegistryValue& a, const RegistryValue& b) {
    return a.exists == b.exists && (!a.exists || (a.type == b.type && a.data == b.data));
}

bool operator!=(const RegistryValue& a, const RegistryValue& b) {
    return !(a == b);
}

void PrintTo(const RegistryValue& value, std::ostream* out) {
    if (!value.exists) {
        *out << "(no value)";
        return;
    }
    switch (value.type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
        *out << (value.type == REG_SZ ? "REG_SZ" : "REG_EXPAND_SZ") << " \"" << Utf8(value.Text())
             << "\"";
        break;
    case REG_DWORD:
        *out << "REG_DWORD " << value.Dword();
        break;
    default:
        *out << "type " << value.type;
        break;
    }
    *out << ", " << value.data.size() << " bytes";
}

RegistryValue TextValue(const std::wstring& text) {
    RegistryValue value;
    value.exists = true;
    value.type = REG_SZ;
    const BYTE* bytes = reinterpret_cast<const BYTE*>(text.c_str());
    value.data.assign(bytes, bytes + (text.size() + 1) * sizeof(wchar_t));
    return value;
}

RegistryValue DwordValue(DWORD number) {
    RegistryValue value;
    value.exists = true;
    value.type = REG_DWORD;
    const BYTE* bytes = reinterpret_cast<const BYTE*>(&number);
    value.data.assign(bytes, bytes + sizeof number);
    return value;
}

RegistryValue ReadRegistryValue(HKEY root, const std::wstring& subKey, const std::wstring& name) {
    RegistryValue value;
    UniqueRegKey key;
    if (::RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
        return value;
    }
    DWORD size = 0;
    if (::RegQueryValueExW(key.get(), name.c_str(), nullptr, &value.type, nullptr, &size) !=
        ERROR_SUCCESS) {
        return value;
    }
    value.data.resize(size);
    if (::RegQueryValueExW(key.get(), name.c_str(), nullptr, &value.type, value.data.data(),
                           &size) == ERROR_SUCCESS) {
        value.data.resize(size);
        value.exists = true;
    }
    return value;
}

RegistryValue ReadRegistryValueA(HKEY root, const std::string& subKey, const std::string& name) {
    RegistryValue value;
    UniqueRegKey key;
    if (::RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
        return value;
    }
    DWORD size = 0;
    if (::RegQueryValueExA(key.get(), name.c_str(), nullptr, &value.type, nullptr, &size) !=
        ERROR_SUCCESS) {
        return value;
    }
    value.data.resize(size);
    if (::RegQueryValueExA(key.get(), name.c_str(), nullptr, &value.type, value.data.data(),
                           &size) == ERROR_SUCCESS) {
        value.data.resize(size);
        value.exists = true;
    }
    return value;
}

void WriteRegistryBytes(HKEY root, const std::wstring& subKey, const std::wstring& name, DWORD type,
                        const void* data, DWORD size) {
    UniqueRegKey key;
    LONG result = ::RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                    KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
    ASSERT_EQ(ERROR_SUCCESS, result) << "creating " << Utf8(subKey);
    result =
        ::RegSetValueExW(key.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    ASSERT_EQ(ERROR_SUCCESS, result) << "setting " << Utf8(name);
}

void WriteRegistryText(HKEY root, const std::wstring& subKey, const std::wstring& name,
                       const std::wstring& text) {
    WriteRegistryBytes(root, subKey, name, REG_SZ, text.c_str(),
                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void WriteRegistryDword(HKEY root, const std::wstring& subKey, const std::wstring& name,
                        DWORD value) {
    WriteRegistryBytes(root, subKey, name, REG_DWORD, &value, sizeof value);
}

bool RegistryKeyExists(HKEY root, const std::wstring& subKey) {
    UniqueRegKey key;
    return ::RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

std::vector<std::wstring> RegistryValueNames(HKEY root, const std::wstring& subKey) {
    std::vector<std::wstring> names;
    UniqueRegKey key;
    if (::RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
        return names;
    }
    for (DWORD i = 0;; ++i) {
        wchar_t name[16384];
        DWORD length = ARRAYSIZE(name);
        if (::RegEnumValueW(key.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(name, length);
    }
    return names;
}

std::vector<std::wstring> RegistrySubKeyNames(HKEY root, const std::wstring& subKey) {
    std::vector<std::wstring> names;
    UniqueRegKey key;
    if (::RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
        return names;
    }
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD length = ARRAYSIZE(name);
        if (::RegEnumKeyExW(key.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(name, length);
    }
    return names;
}

void DeleteRegistryTree(HKEY root, const std::wstring& subKey) {
    LONG result = ::RegDeleteTreeW(root, subKey.c_str());
    if (result == ERROR_SUCCESS) {
        // RegDeleteTreeW empties the key; the key itself goes with RegDeleteKeyW.
        ::RegDeleteKeyW(root, subKey.c_str());
    }
    EXPECT_FALSE(RegistryKeyExists(root, subKey)) << "could not delete " << Utf8(subKey);
}

ScratchKey::ScratchKey(HKEY root, std::wstring subKey) : m_root(root), m_subKey(std::move(subKey)) {
    DeleteRegistryTree(m_root, m_subKey);
}

ScratchKey::~ScratchKey() {
    DeleteRegistryTree(m_root, m_subKey);
}
