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

DWORD RegistryValue::Dword() const {
    DWORD value = 0;
    memcpy(&value, data.data(), data.size() < sizeof value ? data.size() : sizeof value);
    return value;
}

bool operator==(const RegistryValue& a, const RegistryValue& b) {
    return a.exists == b.exists && (!a.exists || (a.type == b.type && a.data == b.data));
}

std::ostream& operator<<(std::ostream& out, const RegistryValue& value) {
    if (!value.exists) {
        return out << "(no value)";
    }
    out << "type " << value.type << ", " << value.data.size() << " bytes: ";
    return value.type == REG_DWORD ? out << value.Dword() : out << '"' << Utf8(value.Text()) << '"';
}

namespace {

RegistryValue StoredValue(DWORD type, const void* data, size_t size) {
    RegistryValue value;
    value.exists = true;
    value.type = type;
    value.data.assign(static_cast<const BYTE*>(data), static_cast<const BYTE*>(data) + size);
    return value;
}

// open(HKEY*) opens the key; query(key, type, data, size) reads the value.
template <class Open, class Query> RegistryValue ReadWith(Open open, Query query) {
    RegistryValue value;
    UniqueRegKey key;
    DWORD size = 0;
    if (open(key.put()) != ERROR_SUCCESS ||
        query(key.get(), &value.type, nullptr, &size) != ERROR_SUCCESS) {
        return value;
    }
    value.data.resize(size);
    value.exists = query(key.get(), &value.type, value.data.data(), &size) == ERROR_SUCCESS;
    value.data.resize(value.exists ? size : 0);
    return value;
}

// enumerate(key, index, name, length) reads the name at index.
template <class Enumerate>
std::vector<std::wstring> NamesIn(HKEY root, const std::wstring& subKey, Enumerate enumerate) {
    std::vector<std::wstring> names;
    UniqueRegKey key;
    if (::RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
        return names;
    }
    std::vector<wchar_t> name(16384); // the longest value name; key names are shorter
    for (DWORD i = 0;; ++i) {
        DWORD length = static_cast<DWORD>(name.size());
        if (enumerate(key.get(), i, name.data(), &length) != ERROR_SUCCESS) {
            return names;
        }
        names.emplace_back(name.data(), length);
    }
}

} // namespace

RegistryValue TextValue(const std::wstring& text) {
    return StoredValue(REG_SZ, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

RegistryValue AnsiTextValue(const std::string& text) {
    return StoredValue(REG_SZ, text.c_str(), text.size() + 1);
}

RegistryValue DwordValue(DWORD number) {
    return StoredValue(REG_DWORD, &number, sizeof number);
}

RegistryValue ReadRegistryValue(HKEY root, const std::wstring& subKey, const std::wstring& name) {
    return ReadWith(
        [&](HKEY* key) { return ::RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ, key); },
        [&](HKEY key, DWORD* type, BYTE* data, DWORD* size) {
            return ::RegQueryValueExW(key, name.c_str(), nullptr, type, data, size);
        });
}

RegistryValue ReadRegistryValueA(HKEY root, const std::string& subKey, const std::string& name) {
    return ReadWith(
        [&](HKEY* key) { return ::RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ, key); },
        [&](HKEY key, DWORD* type, BYTE* data, DWORD* size) {
            return ::RegQueryValueExA(key, name.c_str(), nullptr, type, data, size);
        });
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
    return NamesIn(root, subKey, [](HKEY key, DWORD i, wchar_t* name, DWORD* length) {
        return ::RegEnumValueW(key, i, name, length, nullptr, nullptr, nullptr, nullptr);
    });
}

std::vector<std::wstring> RegistrySubKeyNames(HKEY root, const std::wstring& subKey) {
    return NamesIn(root, subKey, [](HKEY key, DWORD i, wchar_t* name, DWORD* length) {
        return ::RegEnumKeyExW(key, i, name, length, nullptr, nullptr, nullptr, nullptr);
    });
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

std::string RegistryTreeText(HKEY root, const std::wstring& path) {
    std::string text = Utf8(path) + "\n";
    for (const std::wstring& name : RegistryValueNames(root, path)) {
        RegistryValue value = ReadRegistryValue(root, path, name);
        text += "  " + Utf8(name) + " type " + std::to_string(value.type);
        if (value.type == REG_SZ || value.type == REG_EXPAND_SZ) {
            text += " \"" + Utf8(value.Text()) + "\" in " + std::to_string(value.data.size());
        } else {
            for (BYTE byte : value.data) {
                text += " " + std::to_string(byte);
            }
        }
        text += "\n";
    }
    for (const std::wstring& subKey : RegistrySubKeyNames(root, path)) {
        text += RegistryTreeText(root, path + L"\\" + subKey);
    }
    return text;
}
