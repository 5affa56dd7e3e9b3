#include "LaunchProbe.h"

#include "TestPaths.h"
#include "FileContents.h"

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

} // namespace

std::wstring ProbeProgramPath() {
    return TestProgramPath(L"launch_probe.exe");
}

std::wstring ProbeRecord::Arguments() const {
    size_t end = 0;
    if (!commandLine.empty() && commandLine[0] == L'"') {
        size_t close = commandLine.find(L'"', 1);
        end = close == std::wstring::npos ? commandLine.size() : close + 1;
    } else {
        end = commandLine.find_first_of(L" \t");
        if (end == std::wstring::npos) {
            end = commandLine.size();
        }
    }
    return commandLine.substr(end);
}

ProbeRecord WaitForProbeRecord(const std::wstring& recordPath, DWORD timeoutMs) {
    ProbeRecord record;
    DWORD start = ::GetTickCount();
    std::wstring text;
    while (!ReadRecordFile(recordPath, text)) {
        if (::GetTickCount() - start > timeoutMs) {
            return record;
        }
        ::Sleep(20);
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

ProbeRecordScope::ProbeRecordScope(std::wstring recordPath) : m_path(std::move(recordPath)) {
    ::DeleteFileW(m_path.c_str());
    ::SetEnvironmentVariableW(kProbeRecordVariable, m_path.c_str());
}

ProbeRecordScope::~ProbeRecordScope() {
    ::SetEnvironmentVariableW(kProbeRecordVariable, nullptr);
    ::DeleteFileW(m_path.c_str());
}
