#include "FileContents.h"

#include "common/UniqueHandle.h"

bool ReadFileBytes(const std::wstring& path, std::vector<BYTE>& bytes) {
    bytes.clear();
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    if (!file) {
        return false;
    }
    DWORD size = ::GetFileSize(file.get(), nullptr);
    if (size == INVALID_FILE_SIZE) {
        return false;
    }
    bytes.resize(size);
    DWORD read = 0;
    if (!::ReadFile(file.get(), bytes.data(), size, &read, nullptr) || read != size) {
        bytes.clear();
        return false;
    }
    return true;
}

bool WriteFileBytes(const std::wstring& path, const void* data, size_t size) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && ::WriteFile(file.get(), data, static_cast<DWORD>(size), &written, nullptr) &&
           written == size;
}

std::string TextOf(const std::wstring& path) {
    std::vector<BYTE> bytes;
    std::string text;
    ReadFileBytes(path, bytes);
    for (BYTE byte : bytes) {
        if (byte != '\r') {
            text += static_cast<char>(byte);
        }
    }
    return text;
}
