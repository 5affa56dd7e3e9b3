// The fixture of the end-to-end suite. Each test owns the menu's registry key
// and its profile file (both removed before and after the test), starts with
// no menu process running (a menu left open by an earlier test would turn the
// next start into a closer) and with the pointer parked in a screen corner.
#pragma once

#include "MenuSession.h"
#include "ScreenShot.h"
#include "tests/support/LaunchProbe.h"
#include "tests/support/ProfileFile.h"
#include "tests/support/RegistryProbe.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

extern const wchar_t kMediaKey[]; // HKCU "SOFTWARE\WZK\Veltrane\Media"
extern const wchar_t kInstanceMutex[];
extern const wchar_t kCloserMutex[];

// Entry buttons carry 231 + the entry's position in the registry's
// (sorted) enumeration order, counted from 1.
constexpr int kFirstEntryId = 232;
constexpr int kScrollUpId = 1002;
constexpr int kScrollDownId = 1003;

bool NamedMutexExists(const wchar_t* name);

class MenuTest : public ::testing::Test {
protected:
    void SetUp() override;

    static void AddEntry(const std::wstring& name, const std::wstring& assignment);
    static void SetCurrentSelection(const std::wstring& name);
    static RegistryValue CurrentSelection();
    static std::wstring EntryKey(const std::wstring& name);

    ScratchKey m_mediaKey{HKEY_CURRENT_USER, kMediaKey};
    ScratchProfileFile m_profile{L"VLTMedia"};
};

// A folder of the test's own under the Windows folder's Temp folder.
std::wstring ScratchRoot();

// For tests that choose entries: copies of the launch probe in a folder
// without and one with a blank in its path, and the probe's record.
class ProbeMenuTest : public MenuTest {
protected:
    ScratchFolder m_root{ScratchRoot()};
    std::wstring m_plainFolder = m_root.Path();
    std::wstring m_plainProbe = m_root.AddCopy(ProbeProgramPath(), L"launch_probe.exe");
    std::wstring m_blankFolder = m_root.AddFolder(L"with blank");
    std::wstring m_blankProbe = m_root.AddCopy(ProbeProgramPath(), L"with blank\\launch_probe.exe");
    ProbeRecordScope m_record{m_root / L"record.txt"};

    ProbeRecord Record() { return WaitForProbeRecord(m_record.Path()); }
    // Called once the menu process has ended, and with it any launch.
    bool NothingStarted() const { return !m_record.ProbeStarted(); }

    // "CurrentSelection" holds exactly name: REG_SZ, terminator counted.
    void ExpectStored(const std::wstring& name);
    // The process ended on its own, without a crash, its window gone.
    static void ExpectEnded(MenuSession& menu);
};

// Several entries with the given names and empty assignments.
void AddEntries(const std::vector<std::wstring>& names);
// "Entry 01", "Entry 02", ... (zero-padded to width digits, so the registry's
// sorted enumeration keeps their numeric order).
std::vector<std::wstring> NumberedNames(int count, int width = 2);

// One pixel the screen is expected to show.
struct PixelExpectation {
    std::string what;
    POINT at; // screen coordinates
    COLORREF expected;
    int tolerance;
};

// Takes pictures of the screen until every pixel matches (the menu paints
// after it appears) or timeoutMs has passed, then checks each one, printing
// expected and actual colours.
void ExpectScreenPixels(const std::vector<PixelExpectation>& pixels, DWORD timeoutMs = 5000);

// The colour of an entry's gradient (white at the top edge, bottom at the
// bottom edge) at row y of a picture height pixels high.
COLORREF GradientAt(COLORREF bottom, int y, int height);
