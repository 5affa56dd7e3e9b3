// wzkWmiBios.dll, loaded at run time so that wzkbios works with any build of
// the library: the one in wzkbios' own folder, else the one in the folder of
// the installation that the installer recorded. Never from the current
// folder or the search path: a tool that reaches the firmware must not run a
// library someone planted there.
#pragma once

#include "TextLine.h"
#include "common/UniqueHandle.h"
#include "wzkWmiBios.h"

#include <windows.h>

class BiosLibrary {
public:
    BiosLibrary() = default;
    BiosLibrary(const BiosLibrary&) = delete;
    BiosLibrary& operator=(const BiosLibrary&) = delete;

    // S_OK, or the loader's error as an HRESULT; `problem` then says what went
    // wrong in words (no library, or a library without wzkCallBios).
    HRESULT Load(TextLine& problem);
    WZKCALLBIOS_FUNCTION CallBios() const { return m_callBios; }
    // The loaded file's path and its version resource ("1.0.0.0").
    void Describe(TextLine& text) const;

private:
    UniqueModule m_module;
    WZKCALLBIOS_FUNCTION m_callBios = nullptr;
    wchar_t m_path[MAX_PATH] = {};
};
