#include "LaunchProbe.h"

#include "TestPaths.h"
#include "FileContents.h"
#include "Waiting.h"
#include "common/UniqueHandle.h"

#include <tlhelp32.h>

#include <vector>

namespace {

bool ReadRecordFile(const std::wstring& path, std::wstring& text) {
    std::vector<BYTE> bytes;
    if (!ReadFileBytes(path, bytes)) {
        return false;
    }
    text.assign(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    return true;
}

ULONGLONG Now() {
    FILETIME now = {};
    ::GetSystemTimeAsFileTime(&now);
    return (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

// A process running the probe program that was created at or after since.
bool ProbeRunningSince(ULONGLONG since) {
    UniqueKernelHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    if (!snapshot || !::Process32FirstW(snapshot.get(), &entry)) {
        return false;
    }
    do {
        if (::lstrcmpiW(entry.szExeFile, L"launch_probe.exe") != 0) {
            continue;
        }
        UniqueKernelHandle process(
            ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
        FILETIME created = {}, exited = {}, kernel = {}, user = {};
        if (process && ::GetProcessTimes(process.get(), &created, &exited, &kernel, &user) &&
            ((static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime) >=
                since) {
            return true;
        }
    } while (::Process32NextW(snapshot.get(), &entry));
    return false;
}

} // namespace

std::wstring ProbeProgramPath() {
    return TestProgramPath(L"launch_probe.exe");
}

ProbeRecord WaitForProbeRecord(const std::wstring& recordPath, DWORD timeoutMs) {
    ProbeRecord record;
    std::wstring text;
    if (!WaitUntil([&] { return ReadRecordFile(recordPath, text); }, timeoutMs)) {
        return record;
    }
    size_t first = text.find(L'\n');
    size_t second = first == std::wstring::npos ? first : text.find(L'\n', first + 1);
    if (second == std::wstring::npos) {
        return record;
    }
    record.found = true;
    record.commandLine = text.substr(0, first);
    record.workingDirectory = text.substr(first + 1, second - first - 1);
    return record;
}

ProbeRecordScope::ProbeRecordScope(std::wstring recordPath)
    : m_path(std::move(recordPath)), m_variable(kProbeRecordVariable, m_path), m_began(Now()) {
    ::DeleteFileW(m_path.c_str());
}

ProbeRecordScope::~ProbeRecordScope() {
    ::DeleteFileW(m_path.c_str());
}

bool ProbeRecordScope::ProbeStarted() const {
    // Running probes first: one that ends after this look has left its
    // record by then.
    std::wstring text;
    return ProbeRunningSince(m_began) || ReadRecordFile(m_path, text);
}
