#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The parts of a PE file's headers the tests check: machine, subsystem,
// imported DLLs and exported names, read from the file on disk.
struct PeImage {
    bool valid = false;
    WORD machine = 0;
    WORD subsystem = 0;
    WORD characteristics = 0;
    WORD optionalHeaderMagic = 0;
    std::vector<std::string> importedDlls;
    std::vector<std::string> exportedNames;
};

PeImage ReadPeImage(const std::wstring& path);

// True for DLLs that every Windows installation ships (no compiler runtime),
// as tools/system-dlls.txt lists them.
bool IsWindowsSystemDll(const std::string& dllName);
