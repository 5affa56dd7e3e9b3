// The file and the folder of a module loaded in this process (nullptr: the
// program), in a caller's buffer, so that code which keeps the heap out can
// use them too.
#pragma once

#include <windows.h>

// The module's full path and its length; empty (0) when there is none or it
// does not fit `size` units: a cut path would name another file.
inline DWORD ModuleFilePath(HMODULE module, wchar_t* path, DWORD size) {
    DWORD length = size != 0 ? ::GetModuleFileNameW(module, path, size) : 0;
    if (length == 0 || length >= size) {
        length = 0;
    }
    if (size != 0) {
        path[length] = L'\0';
    }
    return length;
}

// The module's folder with a trailing backslash and its length; empty (0)
// as for ModuleFilePath.
inline DWORD ModuleFolder(HMODULE module, wchar_t* folder, DWORD size) {
    DWORD length = ModuleFilePath(module, folder, size);
    while (length != 0 && folder[length - 1] != L'\\' && folder[length - 1] != L'/') {
        --length;
    }
    if (size != 0) {
        folder[length] = L'\0';
    }
    return length;
}
