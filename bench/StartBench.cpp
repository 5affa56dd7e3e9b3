// Start-to-visible time of the menu program against a bare dialog program
// built from the same template: each run is timed from CreateProcess to the
// moment the started process has a visible top-level window, then closed
// with WM_CLOSE and awaited. The two programs run alternately, so that drift
// in the machine's load affects both alike; medians are compared.
//
// The menu reads its entries from HKCU "SOFTWARE\WZK\Veltrane\Media". This
// program owns that key while it runs: it keeps a copy of whatever was there,
// measures with the first-run state (the menu writes its single default
// entry) and with 20 entries, and puts the original contents back.
//
//   bench_start.exe [runs [menu bare]]
//
// runs: per program and case (default 31); menu, bare: other builds of the
// two programs, relative to this program's folder.
#include "BenchReport.h"

#include "common/ModulePath.h"
#include "common/UniqueHandle.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const wchar_t kMediaKeyPath[] = L"SOFTWARE\\WZK\\Veltrane\\Media";
const DWORD kVisibleTimeoutMs = 20000;
const DWORD kExitTimeoutMs = 10000;
const double kStartRatioGoal = 1.15;

// --- Registry: a copy of the key tree, put back at the end ---------------------

struct ValueCopy {
    std::wstring name;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

struct KeyCopy {
    std::wstring name;
    std::vector<ValueCopy> values;
    std::vector<KeyCopy> subKeys;
};

void CopyKey(HKEY key, KeyCopy& copy) {
    DWORD subKeyCount = 0, maxSubKeyLength = 0, valueCount = 0, maxNameLength = 0, maxData = 0;
    if (::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeyCount, &maxSubKeyLength, nullptr,
                           &valueCount, &maxNameLength, &maxData, nullptr,
                           nullptr) != ERROR_SUCCESS) {
        return;
    }
    for (DWORD i = 0; i < valueCount; ++i) {
        std::vector<wchar_t> name(maxNameLength + 1);
        DWORD nameLength = maxNameLength + 1;
        ValueCopy value;
        value.data.resize(maxData);
        DWORD size = maxData;
        if (::RegEnumValueW(key, i, name.data(), &nameLength, nullptr, &value.type,
                            value.data.data(), &size) == ERROR_SUCCESS) {
            value.name.assign(name.data(), nameLength);
            value.data.resize(size);
            copy.values.push_back(value);
        }
    }
    for (DWORD i = 0; i < subKeyCount; ++i) {
        std::vector<wchar_t> name(maxSubKeyLength + 1);
        DWORD nameLength = maxSubKeyLength + 1;
        if (::RegEnumKeyExW(key, i, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            continue;
        }
        KeyCopy subKey;
        subKey.name.assign(name.data(), nameLength);
        UniqueRegKey child;
        if (::RegOpenKeyExW(key, subKey.name.c_str(), 0, KEY_READ, child.put()) == ERROR_SUCCESS) {
            CopyKey(child.get(), subKey);
        }
        copy.subKeys.push_back(subKey);
    }
}

void WriteKey(HKEY parent, const KeyCopy& copy) {
    UniqueRegKey key;
    if (::RegCreateKeyExW(parent, copy.name.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, key.put(),
                          nullptr) != ERROR_SUCCESS) {
        return;
    }
    for (const ValueCopy& value : copy.values) {
        ::RegSetValueExW(key.get(), value.name.c_str(), 0, value.type, value.data.data(),
                         static_cast<DWORD>(value.data.size()));
    }
    for (const KeyCopy& subKey : copy.subKeys) {
        WriteKey(key.get(), subKey);
    }
}

// The media key as it was before the benchmark; put back by the destructor.
class MediaKeyGuard {
public:
    MediaKeyGuard() {
        UniqueRegKey key;
        m_existed = ::RegOpenKeyExW(HKEY_CURRENT_USER, kMediaKeyPath, 0, KEY_READ, key.put()) ==
                    ERROR_SUCCESS;
        m_copy.name = kMediaKeyPath;
        if (m_existed) {
            CopyKey(key.get(), m_copy);
        }
    }
    ~MediaKeyGuard() {
        Clear();
        if (m_existed) {
            WriteKey(HKEY_CURRENT_USER, m_copy);
        }
    }
    MediaKeyGuard(const MediaKeyGuard&) = delete;
    MediaKeyGuard& operator=(const MediaKeyGuard&) = delete;

    static void Clear() { ::RegDeleteTreeW(HKEY_CURRENT_USER, kMediaKeyPath); }

private:
    bool m_existed = false;
    KeyCopy m_copy;
};

void WriteText(HKEY key, const wchar_t* name, const std::wstring& text) {
    ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

// count entries "Entry 01", "Entry 02" ... in the shape the menu's first run
// writes its own entry, the first of them the current selection.
void WriteEntries(int count) {
    MediaKeyGuard::Clear();
    UniqueRegKey media;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kMediaKeyPath, 0, nullptr, 0, KEY_WRITE, nullptr,
                          media.put(), nullptr) != ERROR_SUCCESS) {
        return;
    }
    WriteText(media.get(), L"CurrentSelection", L"Entry 01");
    WriteText(media.get(), L"DefaultSelection", L"Entry 01");
    for (int i = 1; i <= count; ++i) {
        wchar_t name[16];
        std::swprintf(name, 16, L"Entry %02d", i);
        UniqueRegKey entry;
        if (::RegCreateKeyExW(media.get(), name, 0, nullptr, 0, KEY_WRITE, nullptr, entry.put(),
                              nullptr) != ERROR_SUCCESS) {
            continue;
        }
        WriteText(entry.get(), L"Name", name);
        WriteText(entry.get(), L"Assignment",
                  L"%ProgramFiles%\\Windows Media Player\\wmplayer.exe");
        WriteText(entry.get(), L"IsRemove", L"Yes");
        const DWORD actionId = 0;
        ::RegSetValueExW(entry.get(), L"ActionID", 0, REG_DWORD,
                         reinterpret_cast<const BYTE*>(&actionId), sizeof actionId);
    }
}

DWORD CountEntries() {
    UniqueRegKey key;
    DWORD subKeys = 0;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kMediaKeyPath, 0, KEY_READ, key.put()) ==
        ERROR_SUCCESS) {
        ::RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr,
                           nullptr, nullptr, nullptr, nullptr, nullptr);
    }
    return subKeys;
}

// --- Timing -------------------------------------------------------------------

double Milliseconds(LONGLONG ticks) {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    return static_cast<double>(ticks) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

LONGLONG Now() {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
}

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM param) {
    auto search = reinterpret_cast<WindowSearch*>(param);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    if (processId == search->processId && ::IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// Set when the started programs write a profile (see ApiProfiler.cpp).
bool g_profiling = false;

// Polling statistics, to state the resolution of the measurement.
long long g_polls = 0;
double g_pollingMs = 0;

// Starts the program, returns the milliseconds from CreateProcess to its
// first visible top-level window (negative on failure), then closes it with
// WM_CLOSE and waits for the process to end.
double StartToVisible(const std::wstring& path) {
    std::wstring commandLine = L"\"" + path + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    LONGLONG start = Now();
    if (g_profiling) {
        // The profiled programs time their phases from this moment.
        wchar_t text[32];
        std::swprintf(text, 32, L"%lld", start);
        ::SetEnvironmentVariableW(L"BENCH_T0", text);
    }
    if (!::CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &info)) {
        std::fprintf(stderr, "cannot start %ls (error %lu)\n", path.c_str(), ::GetLastError());
        return -1;
    }
    UniqueKernelHandle process(info.hProcess);
    UniqueKernelHandle thread(info.hThread);

    WindowSearch search = {info.dwProcessId, nullptr};
    LONGLONG visible = 0;
    LONGLONG pollStart = Now();
    long long polls = 0;
    for (;;) {
        ::EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
        ++polls;
        if (search.found != nullptr) {
            visible = Now();
            break;
        }
        // A short wait between looks: a busy loop would take a processor
        // from the program being measured.
        if (::WaitForSingleObject(process.get(), 1) != WAIT_TIMEOUT ||
            Milliseconds(Now() - start) > kVisibleTimeoutMs) {
            std::fprintf(stderr, "%ls showed no window\n", path.c_str());
            ::TerminateProcess(process.get(), 1);
            ::WaitForSingleObject(process.get(), kExitTimeoutMs);
            return -1;
        }
    }
    g_polls += polls;
    g_pollingMs += Milliseconds(visible - pollStart);

    ::PostMessageW(search.found, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(process.get(), kExitTimeoutMs) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "%ls did not end after WM_CLOSE\n", path.c_str());
        ::TerminateProcess(process.get(), 1);
        ::WaitForSingleObject(process.get(), kExitTimeoutMs);
        return -1;
    }
    return Milliseconds(visible - start);
}

struct Summary {
    double median = 0;
    double low = 0;  // first quartile
    double high = 0; // third quartile
    bool valid = false;
};

Summary Summarise(std::vector<double> times) {
    Summary summary;
    if (times.empty()) {
        return summary;
    }
    std::sort(times.begin(), times.end());
    size_t n = times.size();
    summary.median = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
    summary.low = times[(n - 1) / 4];
    summary.high = times[(3 * (n - 1)) / 4];
    summary.valid = true;
    return summary;
}

std::string Describe(const Summary& summary) {
    char text[64];
    std::snprintf(text, sizeof text, "%.1f ms (IQR %.1f-%.1f)", summary.median, summary.low,
                  summary.high);
    return text;
}

// Alternating runs of the two programs; false when any run failed.
bool MeasurePair(const std::wstring& first, const std::wstring& second, int runs,
                 std::vector<double>& firstTimes, std::vector<double>& secondTimes) {
    // One untimed start of each first: the first run of the menu after the
    // key was cleared writes the default entry, and files are cached.
    if (StartToVisible(first) < 0 || StartToVisible(second) < 0) {
        return false;
    }
    for (int i = 0; i < runs; ++i) {
        double a = StartToVisible(first);
        double b = StartToVisible(second);
        if (a < 0 || b < 0) {
            return false;
        }
        firstTimes.push_back(a);
        secondTimes.push_back(b);
    }
    return true;
}

std::wstring ProgramDir() {
    wchar_t folder[MAX_PATH] = {};
    return std::wstring(folder, ModuleFolder(nullptr, folder, MAX_PATH));
}

} // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::atoi(argv[1]) : 31;
    if (runs < 1) {
        runs = 31;
    }
    // build\tests holds this program and the bare dialog, build\bin the menu.
    std::wstring menu = ProgramDir() + L"..\\bin\\VLTMedia.exe";
    std::wstring bare = ProgramDir() + L"bench_bare_dialog.exe";
    if (argc > 3) {
        // Other builds of the two, e.g. the profiled ones.
        menu = ProgramDir() + std::wstring(argv[2], argv[2] + std::strlen(argv[2]));
        bare = ProgramDir() + std::wstring(argv[3], argv[3] + std::strlen(argv[3]));
    }
    g_profiling = ::GetEnvironmentVariableW(L"BENCH_PROFILE_LOG", nullptr, 0) != 0;

    bool ok = true;
    {
        MediaKeyGuard guard;

        MediaKeyGuard::Clear(); // first run: the menu writes its single entry
        std::vector<double> menuTimes, bareTimes;
        ok = MeasurePair(menu, bare, runs, menuTimes, bareTimes) && ok;
        DWORD defaultEntries = CountEntries();

        WriteEntries(20);
        std::vector<double> menu20Times, bare20Times;
        ok = MeasurePair(menu, bare, runs, menu20Times, bare20Times) && ok;

        Summary menuStart = Summarise(menuTimes);
        Summary bareStart = Summarise(bareTimes);
        Summary menu20 = Summarise(menu20Times);
        Summary bare20 = Summarise(bare20Times);
        char text[64];
        if (menuStart.valid && bareStart.valid) {
            std::snprintf(text, sizeof text, "bare dialog, %d runs", runs);
            PrintRow(text, Describe(bareStart).c_str());
            std::snprintf(text, sizeof text, "VLTMedia, %lu entry, %d runs", defaultEntries, runs);
            PrintRow(text, Describe(menuStart).c_str());
            double ratio = menuStart.median / bareStart.median;
            std::snprintf(text, sizeof text, "%.2f", ratio);
            PrintRow("start ratio VLTMedia / bare (medians)", text, "<= 1.15",
                     Verdict(ratio <= kStartRatioGoal));
        }
        if (menu20.valid && bare20.valid) {
            std::snprintf(text, sizeof text, "VLTMedia, 20 entries, %d runs", runs);
            PrintRow(text, Describe(menu20).c_str());
            std::snprintf(text, sizeof text, "%.2f (bare alongside: %.1f ms)",
                          menu20.median / bare20.median, bare20.median);
            PrintRow("  ratio to bare", text);
        }
        if (g_polls > 0) {
            std::snprintf(text, sizeof text, "%.2f ms", g_pollingMs / static_cast<double>(g_polls));
            PrintRow("  (window poll interval)", text);
        }
    }
    if (!ok) {
        std::fprintf(stderr, "start benchmark: some runs failed\n");
        return 1;
    }
    return 0;
}
