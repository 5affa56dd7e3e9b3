#pragma once

#include <string>

// The prefix's Windows folder ("C:\windows") and system folder.
std::wstring WindowsFolder();
std::wstring SystemFolder();

// A path of this test program's own in the Windows folder's Temp folder:
// stem, an underscore and the process id, so that programs never share one.
std::wstring ProcessScratchPath(const std::wstring& stem);
