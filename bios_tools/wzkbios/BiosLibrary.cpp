#include "BiosLibrary.h"

#include "common/ModulePath.h"

namespace {

const wchar_t kLibraryName[] = L"wzkWmiBios.dll";
// Where the installer records its folder: the uninstall entry, which a 32-bit
// installer writes to the 32-bit view of the registry.
const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Veltrane";
const wchar_t kInstallLocation[] = L"InstallLocation";

// The installation's folder with a trailing backslash; empty when none is
// recorded or it is no absolute path (a relative one would be the current
// folder's, which is never trusted). The 32-bit view is named explicitly, so
// that a 64-bit build finds it too.
void InstallationFolder(wchar_t (&folder)[MAX_PATH]) {
    folder[0] = L'\0';
    UniqueRegKey key;
    DWORD type = REG_NONE;
    DWORD size = sizeof folder - 2 * sizeof(wchar_t); // room for '\\' and NUL
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_QUERY_VALUE | KEY_WOW64_32KEY,
                        key.put()) != ERROR_SUCCESS ||
        ::RegQueryValueExW(key.get(), kInstallLocation, nullptr, &type,
                           reinterpret_cast<BYTE*>(folder), &size) != ERROR_SUCCESS ||
        type != REG_SZ) {
        folder[0] = L'\0';
        return;
    }
    size_t length = size / sizeof(wchar_t);
    folder[length] = L'\0';
    length = static_cast<size_t>(::lstrlenW(folder));
    bool absolute = (length >= 3 && folder[1] == L':' && folder[2] == L'\\') ||
                    (length >= 2 && folder[0] == L'\\' && folder[1] == L'\\');
    if (!absolute) {
        folder[0] = L'\0';
    } else if (folder[length - 1] != L'\\') {
        folder[length] = L'\\';
        folder[length + 1] = L'\0';
    }
}

// folder + the library's name in path; false when there is no folder or it
// does not fit.
bool LibraryIn(const wchar_t* folder, wchar_t (&path)[MAX_PATH]) {
    path[0] = L'\0';
    if (folder[0] == L'\0' || ::lstrlenW(folder) + ::lstrlenW(kLibraryName) >= MAX_PATH) {
        return false;
    }
    ::lstrcpyW(path, folder);
    ::lstrcatW(path, kLibraryName);
    return ::GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

HRESULT BiosLibrary::Load(TextLine& problem) {
    wchar_t own[MAX_PATH] = {};
    wchar_t installed[MAX_PATH] = {};
    ModuleFolder(nullptr, own, MAX_PATH);
    InstallationFolder(installed);
    // The first library that exists is loaded, and a failure reported as it
    // is, rather than replaced by another one.
    wchar_t path[MAX_PATH] = {};
    if (!LibraryIn(own, path) && !LibraryIn(installed, path)) {
        problem.Add(L"cannot find ").Add(kLibraryName).Add(L" (looked in ").Add(own);
        if (installed[0] != L'\0') {
            problem.Add(L" and in the installation folder ").Add(installed).Add(L')');
        } else {
            problem.Add(L"; no installation folder is recorded)");
        }
        return HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);
    }
    // A full path with the altered search order: the library's own imports
    // are looked for beside it and in the system, never in the current folder
    // first.
    m_module.reset(::LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    if (!m_module) {
        DWORD error = ::GetLastError();
        problem.Add(L"cannot load ").Add(path);
        problem.AddSystemMessage(error, L": ", L"");
        return HRESULT_FROM_WIN32(error);
    }
    ModuleFilePath(m_module.get(), m_path, MAX_PATH);
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
