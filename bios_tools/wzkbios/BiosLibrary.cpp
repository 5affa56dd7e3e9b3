#include "BiosLibrary.h"

namespace {

const wchar_t kLibraryName[] = L"wzkWmiBios.dll";

// This program's folder with a trailing backslash; empty if the path is too long.
void OwnFolder(wchar_t (&folder)[MAX_PATH]) {
    DWORD length = ::GetModuleFileNameW(nullptr, folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        folder[0] = L'\0';
        return;
    }
    wchar_t* slash = ::wcsrchr(folder, L'\\');
    if (slash != nullptr) {
        slash[1] = L'\0';
    }
}

} // namespace

HRESULT BiosLibrary::Load(TextLine& problem) {
    wchar_t folder[MAX_PATH] = {};
    OwnFolder(folder);
    wchar_t besideMe[MAX_PATH] = {};
    bool fits = folder[0] != L'\0' && ::lstrlenW(folder) + ::lstrlenW(kLibraryName) < MAX_PATH;
    if (fits) {
        ::lstrcpyW(besideMe, folder);
        ::lstrcatW(besideMe, kLibraryName);
    }
    // A library beside wzkbios that fails to load is reported as it is,
    // rather than replaced by another one from the search path.
    bool beside = fits && ::GetFileAttributesW(besideMe) != INVALID_FILE_ATTRIBUTES;
    m_module.reset(::LoadLibraryW(beside ? besideMe : kLibraryName));
    if (!m_module) {
        DWORD error = ::GetLastError();
        problem.Add(L"cannot load ").Add(beside ? besideMe : kLibraryName);
        problem.AddSystemMessage(error, L": ", L"");
        if (!beside) {
            problem.Add(L" (looked in ").Add(folder).Add(L" and on the DLL search path)");
        }
        return HRESULT_FROM_WIN32(error);
    }
    DWORD length = ::GetModuleFileNameW(m_module.get(), m_path, MAX_PATH);
    m_path[length < MAX_PATH ? length : 0] = L'\0';
    m_callBios = reinterpret_cast<WZKCALLBIOS_FUNCTION>(
        reinterpret_cast<void*>(::GetProcAddress(m_module.get(), "wzkCallBios")));
    if (m_callBios == nullptr) {
        problem.Add(m_path).Add(L" has no export wzkCallBios: it is not a wzkWmiBios library");
        return HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
    }
    return S_OK;
}

void BiosLibrary::Describe(TextLine& text) const {
    text.Add(m_path).Add(L", file version ");
    DWORD ignored = 0;
    DWORD size = ::GetFileVersionInfoSizeW(m_path, &ignored);
    // The resource is small; a fixed buffer keeps the heap out of it.
    BYTE info[4096];
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    if (size == 0 || size > sizeof info || !::GetFileVersionInfoW(m_path, 0, size, info) ||
        !::VerQueryValueW(info, L"\\", reinterpret_cast<void**>(&fixed), &fixedSize) ||
        fixedSize < sizeof *fixed) {
        text.Add(L"unknown (no version resource)");
        return;
    }
    text.AddDecimal(HIWORD(fixed->dwFileVersionMS)).Add(L'.');
    text.AddDecimal(LOWORD(fixed->dwFileVersionMS)).Add(L'.');
    text.AddDecimal(HIWORD(fixed->dwFileVersionLS)).Add(L'.');
    text.AddDecimal(LOWORD(fixed->dwFileVersionLS));
}
