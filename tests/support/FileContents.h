#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A whole file's bytes; false when it cannot be opened or read.
bool ReadFileBytes(const std::wstring& path, std::vector<BYTE>& bytes);

// Creates or replaces a file with these bytes; false on any failure.
bool WriteFileBytes(const std::wstring& path, const void* data, size_t size);

// A file's text with "\r\n" as "\n"; empty when there is no file.
std::string TextOf(const std::wstring& path);
