// The fixture of the end-to-end suite. Each test owns the menu's registry key
// and its profile file (both removed before and after the test), starts with
// no menu process running (a menu left open by an earlier test would turn the
// next start into a closer) and with the pointer parked in a screen corner.
#pragma once

#include "MenuSession.h"
#include "OwnWindow.h"
#include "tests/support/GeometryPrinters.h"
#include "tests/support/MediaKey.h"
#include "tests/support/Picture.h"
#include "tests/support/ProbeLaunchFixture.h"
#include "tests/support/ProfileFile.h"
#include "tests/support/RegistryProbe.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

extern const wchar_t kInstanceMutex[];
extern const wchar_t kCloserMutex[];

// Entry buttons carry 231 + the entry's position in the registry's
// (sorted) enumeration order, counted from 1.
constexpr int kFirstEntryId = 232;
constexpr int kScrollUpId = 1002;
constexpr int kScrollDownId = 1003;

bool NamedMutexExists(const wchar_t* name);

// A window width x height pixels centred on the primary screen, as the
// menu places itself.
RECT CentredOnScreen(int width, int height);

class MenuTest : public ::testing::Test {
protected:
    void SetUp() override;

    ScratchKey m_mediaKey{HKEY_CURRENT_USER, kMediaKey};
    ScratchProfileFile m_profile{L"VLTMedia"};
};

// For tests that choose entries: the launch probe stands in for every
// started program (NothingStarted once the menu process has ended).
class ProbeMenuTest : public MenuTest, protected ProbeLaunchFixture {
protected:
    // The process ended on its own, without a crash, its window gone.
    static void ExpectEnded(MenuSession& menu);
};
// "Entry 01", "Entry 02", ... (zero-padded to width digits, so the registry's
// sorted enumeration keeps their numeric order).
std::vector<std::wstring> NumberedNames(int count, int width = 2);

// A coloured window of the test's own under the whole screen, shown before
// the menu starts and never activated, so the menu's cut-off corners show it.
const COLORREF kBackdrop = RGB(0x20, 0xA0, 0x40);
OwnWindow::Options Backdrop();

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
