// Launching through the real shell of the prefix. The probe program stands
// in for every started program: it writes down its command line and working
// directory, so each test sees exactly what the shell was asked to start.
#include "DataTestSupport.h"
#include "media_menu/data/EntryChoice.h"
#include "media_menu/data/Launcher.h"
#include "tests/support/ProbeLaunchFixture.h"
#include "tests/support/ScopedCurrentDirectory.h"
#include "tests/support/ScopedEnvironmentVariable.h"
#include "tests/support/TestPaths.h"
#include "tests/support/WindowsFolders.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Composed {
    bool ok;
    LaunchKind kind;
    std::wstring program;
    std::wstring parameters;
    std::wstring workingDirectory;
};

Composed Compose(const std::wstring& text) {
    wchar_t program[kTextUnits];
    wchar_t parameters[kTextUnits];
    wchar_t workingDirectory[kTextUnits];
    Composed c;
    c.ok = ComposeLaunch(text.c_str(), c.kind, program, parameters, workingDirectory);
    c.program = program;
    c.parameters = parameters;
    c.workingDirectory = workingDirectory;
    return c;
}

class LaunchTest : public MediaRegistryTest, protected ProbeLaunchFixture {
protected:
    // Chooses the only entry, holding assignment, the way the menu does; in
    // every case, whatever the launch did, the entry is then the stored choice.
    ChoiceOutcome Choose(const std::wstring& assignment) {
        SetCurrentSelection(L"Earlier"); // present, so no first-run entry joins the list
        AddEntry(L"Probe", assignment);
        ChoiceOutcome outcome = HandleEntryChoice(L"Probe");
        EXPECT_EQ(TextValue(L"Probe"), CurrentSelection());
        return outcome;
    }
};

TEST_F(LaunchTest, ChosenEntryStartsItsProgramWithItsParametersInItsFolder) {
    // Wine opens folders with the first "explorer" it finds, looking in the
    // working directory given to the shell before the search path; a probe
    // named explorer.exe in the parent folder therefore receives the folder
    // instead of a real file manager window opening, and its being found
    // there shows the working directory too.
    const std::wstring docs = m_root.AddFolder(L"docs");
    const std::wstring explorer = m_root.AddCopy(ProbeProgramPath(), L"explorer.exe");
    // A program that no text names as a file, but the shell finds on the path.
    const std::wstring onPath = m_root.AddFolder(L"on path");
    const std::wstring pathProbe = m_root.AddCopy(ProbeProgramPath(), L"on path\\pathprobe.exe");
    const std::wstring cwd = m_root.AddFolder(L"cwd");
    ScopedEnvironmentVariable path(L"PATH", EnvironmentVariable(L"PATH") + L";" + onPath);
    ScopedCurrentDirectory current(cwd);
    const std::wstring plain = L"\"" + m_plainProbe + L"\"";
    const std::wstring blank = L"\"" + m_blankProbe + L"\"";
    const struct {
        std::wstring assignment; // as stored, macros unexpanded
        std::wstring commandLine;
        std::wstring workingDirectory;
    } rows[] = {
        {L"%WinDir%" + m_plainProbe.substr(WindowsFolder().size()), plain, m_plainFolder},
        {docs, L"\"" + explorer + L"\" \"" + docs + L"\"", m_plainFolder},
        // Quoted: the blank after the closing quote is dropped, the rest kept.
        {blank + L" -a \"b c\"  d", blank + L" -a \"b c\"  d", m_blankFolder},
        {blank, blank, m_blankFolder},
        // Unquoted: the parameters start with the blank that ended the program.
        {m_plainProbe + L" -x y", plain + L"  -x y", m_plainFolder},
        // An unterminated quote: the rest is the program.
        {L"\"" + m_blankProbe, blank, m_blankFolder},
        // Found by the shell: the working directory is the program's folder
        // as given, the current one.
        {L"pathprobe.exe", L"\"" + pathProbe + L"\"", cwd},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(Utf8(row.assignment));
        ProbeRecordScope record(m_root / L"row.txt");
        EXPECT_EQ(ChoiceOutcome::Launched, Choose(row.assignment));
        const ProbeRecord started = WaitForProbeRecord(record.Path());
        ASSERT_TRUE(started.found);
        EXPECT_EQ(row.commandLine, started.commandLine);
        EXPECT_EQ(row.workingDirectory, started.workingDirectory);
        EXPECT_EQ(TextValue(row.assignment),
                  ReadRegistryValue(HKEY_CURRENT_USER, EntryKey(L"Probe"), L"Assignment"));
    }
    Composed found = Compose(L"pathprobe.exe");
    EXPECT_EQ(LaunchKind::Associated, found.kind);
    EXPECT_EQ(L"pathprobe.exe", found.program);
}

TEST_F(LaunchTest, WebAddressGoesToTheProgramThatOpensTheBlankPage) {
    // Case 7. The blank page has a private extension whose opener is the
    // probe, so the "browser" is the probe and no real browser starts.
    ScratchKey extension{HKEY_CLASSES_ROOT, L".vltprobepage"};
    ScratchKey pageClass{HKEY_CLASSES_ROOT, L"VltProbe.Page"};
    WriteRegistryText(HKEY_CLASSES_ROOT, L".vltprobepage", L"", L"VltProbe.Page");
    WriteRegistryText(HKEY_CLASSES_ROOT, L"VltProbe.Page\\shell\\open\\command", L"",
                      L"\"" + m_blankProbe + L"\" \"%1\"");
    std::wstring page = m_root.AddFile(L"blank.vltprobepage", "<html></html>");
    WriteRegistryText(HKEY_LOCAL_MACHINE, kTestMachineKey, L"Blank.htm", page);

    const std::wstring address = L"http://example.invalid/a?b=c d";
    Composed c = Compose(address);
    EXPECT_TRUE(c.ok);
    EXPECT_EQ(LaunchKind::Browser, c.kind);
    EXPECT_EQ(m_blankProbe, c.program);
    EXPECT_EQ(address, c.parameters);
    EXPECT_EQ(m_blankFolder, c.workingDirectory);

    EXPECT_EQ(ChoiceOutcome::Launched, Choose(address));
    ExpectStarted(L"\"" + m_blankProbe + L"\" " + address, m_blankFolder);
}

TEST_F(LaunchTest, EmptyAssignmentOrWebAddressWithoutBlankPageStartsNothingButIsStored) {
    EXPECT_EQ(ChoiceOutcome::Launched, Choose(L""));
    EXPECT_EQ(ChoiceOutcome::LaunchFailed, Choose(L"http://example.invalid/"));
    // A page that no longer exists fails the same way.
    WriteRegistryText(HKEY_LOCAL_MACHINE, kTestMachineKey, L"Blank.htm", m_root / L"gone.htm");
    EXPECT_FALSE(LaunchAssignment(L"http://example.invalid/"));
    EXPECT_TRUE(NothingStarted());
}

TEST_F(LaunchTest, ChoosingFindsTheEntryByNameAndIgnoresVanishedOnes) {
    SetCurrentSelection(L"Alpha");
    AddEntry(L"Bravo", L"");
    AddEntry(L"Charlie", L"");
    const struct {
        const wchar_t* name;
        ChoiceOutcome outcome;
        const wchar_t* stored;
    } cases[] = {
        {L"Charlie", ChoiceOutcome::Launched, L"Charlie"},
        {L"bravo", ChoiceOutcome::Launched, L"Bravo"},    // the registry ignores case
        {L"Alpha", ChoiceOutcome::NoSuchEntry, L"Bravo"}, // gone (or never was)
        {L"", ChoiceOutcome::NoSuchEntry, L"Bravo"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.name));
        EXPECT_EQ(c.outcome, HandleEntryChoice(c.name));
        EXPECT_EQ(TextValue(c.stored), CurrentSelection());
    }
}

TEST_F(LaunchTest, ExistingAppletIsComposedAsControlPanelCommand) {
    // Case 2, composed but not launched: a control panel would open.
    std::wstring applet = m_root.AddFile(L"sound.CPL");
    Composed c = Compose(applet);
    EXPECT_TRUE(c.ok);
    EXPECT_EQ(LaunchKind::Applet, c.kind);
    EXPECT_EQ(WindowsFolder() + L"\\System32\\control.exe", c.program);
    EXPECT_EQ(L"\"" + applet + L"\"", c.parameters);
    EXPECT_EQ(WindowsFolder() + L"\\System32", c.workingDirectory);

    // An applet text that names no file (arguments behind it) is no applet,
    // and neither is a file whose path merely has ".cpl" inside.
    Composed withArguments = Compose(applet + L",@1");
    EXPECT_EQ(LaunchKind::Browser, withArguments.kind);
    m_root.AddFolder(L"x.cplayer");
    EXPECT_EQ(LaunchKind::ExistingPath, Compose(m_root.AddFile(L"x.cplayer\\p.txt")).kind);
}

TEST_F(LaunchTest, AppletWhoseQuotedPathWouldNotFitIsNotLaunched) {
    const size_t rootLength = m_root.Path().size() + 1;
    std::wstring fits = m_root.AddFile(std::wstring(257 - rootLength - 4, L'f') + L".cpl");
    std::wstring tooLong = m_root.AddFile(std::wstring(258 - rootLength - 4, L'g') + L".cpl");
    ASSERT_EQ(257u, fits.size());
    ASSERT_EQ(258u, tooLong.size());
    Composed c = Compose(fits);
    EXPECT_TRUE(c.ok);
    EXPECT_EQ(259u, c.parameters.size());
    c = Compose(tooLong);
    EXPECT_FALSE(c.ok);
    EXPECT_EQ(LaunchKind::Applet, c.kind);
    EXPECT_EQ(L"", c.parameters);
    EXPECT_FALSE(LaunchAssignment(tooLong.c_str()));
}

TEST_F(LaunchTest, ProgramTextsAreSplitAsTheShellExpects) {
    struct Case {
        const wchar_t* text;
        LaunchKind kind;
        const wchar_t* program;
        const wchar_t* parameters;
        const wchar_t* workingDirectory;
    } cases[] = {
        {L"C:\\no where\\p.exe -x y", LaunchKind::ProgramWithArguments, L"C:\\no where\\p.exe",
         L" -x y", L"C:\\no where"},
        {L"C:\\no where\\p.exe\t-x y", LaunchKind::ProgramWithArguments, L"C:\\no where\\p.exe",
         L"\t-x y", L"C:\\no where"},
        {L"C:\\a.exe b\\p.exe -x", LaunchKind::ProgramWithArguments, L"C:\\a.exe", L" b\\p.exe -x",
         L"C:\\"},
        {L"C:\\a.exec\\p x", LaunchKind::ProgramWithArguments, L"C:\\a.exec\\p", L" x",
         L"C:\\a.exec"},
        {L"C:\\a.exec\\p\tx", LaunchKind::ProgramWithArguments, L"C:\\a.exec\\p", L"\tx",
         L"C:\\a.exec"},
        {L"C:\\nowhere\\p.EXE", LaunchKind::ProgramWithArguments, L"C:\\nowhere\\p.EXE", L"",
         L"C:\\nowhere"},
        {L"C:\\p.exe -x", LaunchKind::ProgramWithArguments, L"C:\\p.exe", L" -x", L"C:\\"},
        {L"\"C:\\a b\\p.exe\" -x \"y z\"", LaunchKind::QuotedProgram, L"\"C:\\a b\\p.exe\"",
         L"-x \"y z\"", L"C:\\a b"},
        {L"\"C:\\a b\\p.exe\"", LaunchKind::QuotedProgram, L"\"C:\\a b\\p.exe\"", L"", L"C:\\a b"},
        {L"\"C:\\a b\\p.exe\"x", LaunchKind::QuotedProgram, L"\"C:\\a b\\p.exe\"", L"", L"C:\\a b"},
        {L"\"C:\\a b\\p.exe -x", LaunchKind::QuotedProgram, L"C:\\a b\\p.exe -x", L"", L"C:\\a b"},
    };
    for (const Case& expected : cases) {
        SCOPED_TRACE(Utf8(expected.text));
        Composed c = Compose(expected.text);
        EXPECT_TRUE(c.ok);
        EXPECT_EQ(expected.kind, c.kind);
        EXPECT_EQ(expected.program, c.program);
        EXPECT_EQ(expected.parameters, c.parameters);
        EXPECT_EQ(expected.workingDirectory, c.workingDirectory);
    }
    // A text cut at its first blank, which starts it, leaves no program.
    EXPECT_FALSE(Compose(L" x.exe2").ok);
}

} // namespace
