#pragma once

#include <string>

// Where the running test program lives (build\tests) and where the
// deliverables are (build\bin), found from the test's own module path so
// that any checkout location works.
std::wstring TestProgramDir();
std::wstring TestProgramPath(const wchar_t* fileName);
std::wstring DeliverableDir();
std::wstring DeliverablePath(const wchar_t* fileName);

// UTF-8 for messages printed by assertions.
std::string Utf8(const std::wstring& text);
