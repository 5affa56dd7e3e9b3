#pragma once

#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

// A registry value exactly as stored: its type and its raw bytes. Compared
// whole (existence, type and every byte) and printed by assertions.
struct RegistryValue {
    bool exists = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;

    // The bytes as UTF-16 text, up to (not including) the first NUL.
    std::wstring Text() const;
    DWORD Dword() const;
};

bool operator==(const RegistryValue& a, const RegistryValue& b);
std::ostream& operator<<(std::ostream& out, const RegistryValue& value);

// The values WriteRegistryText and WriteRegistryDword store, to compare with.
RegistryValue TextValue(const std::wstring& text);
// REG_SZ as the single-byte functions store it, terminator counted.
RegistryValue AnsiTextValue(const std::string& text);
RegistryValue DwordValue(DWORD value);

RegistryValue ReadRegistryValue(HKEY root, const std::wstring& subKey, const std::wstring& name);
RegistryValue ReadRegistryValueA(HKEY root, const std::string& subKey, const std::string& name);

// Writes raw bytes; the key is created when missing. Fails the test on error.
void WriteRegistryBytes(HKEY root, const std::wstring& subKey, const std::wstring& name, DWORD type,
                        const void* data, DWORD size);
// REG_SZ with its terminator counted: (length + 1) * 2 bytes.
void WriteRegistryText(HKEY root, const std::wstring& subKey, const std::wstring& name,
                       const std::wstring& text);
void WriteRegistryDword(HKEY root, const std::wstring& subKey, const std::wstring& name,
                        DWORD value);

bool RegistryKeyExists(HKEY root, const std::wstring& subKey);
std::vector<std::wstring> RegistryValueNames(HKEY root, const std::wstring& subKey);
std::vector<std::wstring> RegistrySubKeyNames(HKEY root, const std::wstring& subKey);
void DeleteRegistryTree(HKEY root, const std::wstring& subKey);
// A key with its values (type and bytes, strings as text and byte count)
// and its subkeys, one line each, for comparing whole trees.
std::string RegistryTreeText(HKEY root, const std::wstring& path);

// A key that a test owns: deleted with everything below it when the test
// starts and again when it ends, so tests pass in any order.
class ScratchKey {
public:
    ScratchKey(HKEY root, std::wstring subKey);
    ~ScratchKey();
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    HKEY Root() const { return m_root; }
    const std::wstring& Path() const { return m_subKey; }

private:
    HKEY m_root;
    std::wstring m_subKey;
};
