// Choosing an entry with the keyboard or the mouse, and leaving without a
// choice. The launch probe stands in for every started program: it writes
// down its command line and working directory.
#include "MenuTest.h"
#include "tests/support/LaunchProbe.h"
#include "tests/support/ScratchFolder.h"

namespace {

std::wstring ScratchRoot() {
    wchar_t windows[MAX_PATH] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    return std::wstring(windows) + L"\\Temp\\menu_e2e_" + std::to_wstring(::GetCurrentProcessId());
}

class ChoiceTest : public MenuTest {
protected:
    ScratchFolder m_root{ScratchRoot()};
    std::wstring m_plainFolder = m_root.Path();
    std::wstring m_plainProbe = m_root.AddCopy(ProbeProgramPath(), L"launch_probe.exe");
    std::wstring m_blankFolder = m_root.AddFolder(L"with blank");
    std::wstring m_blankProbe = m_root.AddCopy(ProbeProgramPath(), L"with blank\\launch_probe.exe");
    ProbeRecordScope m_record{m_root / L"record.txt"};

    // "Alpha": a quoted program with arguments; "Beta": an unquoted one.
    void AddProbeEntries() {
        AddEntry(L"Alpha", L"\"" + m_blankProbe + L"\" -a \"b c\"");
        AddEntry(L"Beta", m_plainProbe + L" -x y");
    }

    ProbeRecord Record() { return WaitForProbeRecord(m_record.Path()); }
    // Called once the menu process has ended, and with it the launch.
    bool NothingStarted() { return !WaitForProbeRecord(m_record.Path(), 1500).found; }

    void ExpectStored(const std::wstring& name) {
        RegistryValue value = CurrentSelection();
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), value.type);
        EXPECT_EQ(name, value.Text());
        EXPECT_EQ((name.size() + 1) * sizeof(wchar_t), value.data.size());
    }

    static void ExpectEnded(MenuSession& menu) {
        EXPECT_TRUE(menu.WaitForExit()) << "the menu process is still running";
        EXPECT_FALSE(::IsWindow(menu.Window())) << "the menu window still exists";
        EXPECT_EQ(0u, menu.Program().ExitCode());
    }
};

TEST_F(ChoiceTest, EnterOnTheFocusedEntryStoresItLaunchesItAndEnds) {
    AddProbeEntries();
    SetCurrentSelection(L"Beta");
    MenuSession menu;
    ASSERT_TRUE(menu.WaitForMenu());
    ASSERT_TRUE(WaitUntil([&] { return menu.FocusedId() == kFirstEntryId + 1; }, 5000));
    menu.PressKey(VK_UP);
    ASSERT_TRUE(WaitUntil([&] { return menu.FocusedId() == kFirstEntryId; }, 5000))
        << "Up should focus Alpha; focus: " << menu.FocusedId();
    menu.PressKey(VK_RETURN);

    ProbeRecord record = Record();
    ASSERT_TRUE(record.found) << "the probe was not started";
    // The text after the closing quote, less the one blank behind it; the
    // shell puts its own blank between program and parameters.
    EXPECT_EQ(L" -a \"b c\"", record.Arguments()) << Utf8(record.commandLine);
    EXPECT_EQ(m_blankFolder, record.workingDirectory);
    ExpectEnded(menu);
    ExpectStored(L"Alpha");
}

TEST_F(ChoiceTest, ClickOnAnEntryStoresItLaunchesItAndEnds) {
    AddProbeEntries();
    SetCurrentSelection(L"Alpha");
    MenuSession menu;
    ASSERT_TRUE(menu.WaitForMenu());
    ASSERT_TRUE(WaitUntil([&] { return menu.FocusedId() == kFirstEntryId; }, 5000));
    menu.ClickChild(kFirstEntryId + 1);

    ProbeRecord record = Record();
    ASSERT_TRUE(record.found) << "the probe was not started";
    // Cut at the first blank: the parameters keep that blank.
    EXPECT_EQ(L"  -x y", record.Arguments()) << Utf8(record.commandLine);
    EXPECT_EQ(m_plainFolder, record.workingDirectory);
    ExpectEnded(menu);
    ExpectStored(L"Beta");
}

TEST_F(ChoiceTest, SpaceOnAnEntryWithEmptyAssignmentStoresItAndEndsWithoutLaunching) {
    AddProbeEntries();
    AddEntry(L"Gamma", L"");
    SetCurrentSelection(L"Gamma");
    MenuSession menu;
    ASSERT_TRUE(menu.WaitForMenu());
    ASSERT_TRUE(WaitUntil([&] { return menu.FocusedId() == kFirstEntryId + 2; }, 5000));
    menu.PressKey(VK_SPACE);
    ExpectEnded(menu);
    ExpectStored(L"Gamma");
    EXPECT_TRUE(NothingStarted());
}

TEST_F(ChoiceTest, EscapeEndsWithoutStoringOrLaunching) {
    AddProbeEntries();
    SetCurrentSelection(L"Beta");
    const RegistryValue before = CurrentSelection();
    const std::vector<std::wstring> valuesBefore = RegistryValueNames(HKEY_CURRENT_USER, kMediaKey);
    MenuSession menu;
    ASSERT_TRUE(menu.WaitForMenu());
    ASSERT_TRUE(WaitUntil([&] { return menu.FocusedId() == kFirstEntryId + 1; }, 5000));
    menu.PressKey(VK_ESCAPE);
    ExpectEnded(menu);
    RegistryValue after = CurrentSelection();
    EXPECT_EQ(before.type, after.type);
    EXPECT_EQ(before.data, after.data);
    EXPECT_EQ(valuesBefore, RegistryValueNames(HKEY_CURRENT_USER, kMediaKey));
    EXPECT_TRUE(NothingStarted());
}

} // namespace
