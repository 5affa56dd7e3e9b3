// Macro expansion with the prefix's real folders and language. Texts sit in
// guarded buffers: one unit written or read past the 260 faults the test.
#include "media_menu/data/PathMacros.h"
#include "tests/support/GuardedBuffer.h"
#include "tests/support/TestPaths.h"
#include "tests/support/TestPlatform.h"
#include "tests/support/WindowsFolders.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring Folder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    EXPECT_EQ(S_OK, ::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_DEFAULT, path));
    return path;
}

// A 32-bit program's Program Files folder on each platform.
std::wstring ProgramFilesFolder() {
    return TestPlatform() == "win64" ? L"C:\\Program Files (x86)" : L"C:\\Program Files";
}

std::wstring Expanded(const std::wstring& text) {
    GuardedBuffer buffer;
    buffer.Assign(text);
    ExpandPathMacros(buffer.get());
    return buffer.Text();
}

TEST(PathMacrosTest, ExpandsEachMacroWithItsValue) {
    const std::wstring windows = WindowsFolder();
    EXPECT_EQ(ProgramFilesFolder(), Folder(CSIDL_PROGRAM_FILES));
    EXPECT_EQ(ProgramFilesFolder() + L"\\Windows Media Player\\wmplayer.exe",
              Expanded(L"%ProgramFiles%\\Windows Media Player\\wmplayer.exe"));
    EXPECT_EQ(Folder(CSIDL_MYPICTURES), Expanded(L"%MyPictures%"));
    EXPECT_EQ(SystemFolder() + L"\\x.cpl", Expanded(L"%WinSysDir%\\x.cpl"));
    EXPECT_EQ(windows + L"|" + windows, Expanded(L"%WinDir%|%SystemRoot%"));
    wchar_t language[MAX_PATH];
    FormatLanguageId(::GetSystemDefaultUILanguage(), language);
    EXPECT_EQ(std::wstring(L"help") + language + L".chm", Expanded(L"help%LCID%.chm"));
}

TEST(PathMacrosTest, MatchesWithoutRegardToCaseAndReplacesOnlyTheFirstOccurrence) {
    const std::wstring programFiles = Folder(CSIDL_PROGRAM_FILES);
    EXPECT_EQ(programFiles + L"\\a", Expanded(L"%programfiles%\\a"));
    EXPECT_EQ(programFiles + L"\\a", Expanded(L"%PROGRAMFILES%\\a"));
    EXPECT_EQ(WindowsFolder() + L";%WinDir%", Expanded(L"%WinDir%;%WinDir%"));
}

TEST(PathMacrosTest, LeavesEverythingElseAlone) {
    for (const wchar_t* text : {L"", L"C:\\plain\\path.exe", L"%TEMP%\\x", L"%PATH%", L"100% sure",
                                L"%%", L"%WinDir", L"WinDir%"}) {
        EXPECT_EQ(text, Expanded(text));
    }
}

TEST(PathMacrosTest, ReplacementThatWouldNotFitLeavesTheTextAndTheRestGoesOn) {
    const std::wstring windows = WindowsFolder();
    ASSERT_GT(windows.size(), 8u); // the replacement makes the text longer
    // "%LCID%", then filler, then "%WinDir%" ending at unit 259.
    const std::wstring filler(259 - 6 - 8, L'f');
    wchar_t language[MAX_PATH];
    FormatLanguageId(::GetSystemDefaultUILanguage(), language);
    EXPECT_EQ(language + filler + L"%WinDir%", Expanded(L"%LCID%" + filler + L"%WinDir%"));

    // A result of exactly 259 units is made; one of 260 is not.
    const std::wstring exact(259 - windows.size(), L'e');
    EXPECT_EQ(exact + windows, Expanded(exact + L"%WinDir%"));
    EXPECT_EQ(exact + L"e%WinDir%", Expanded(exact + L"e%WinDir%"));
}

TEST(PathMacrosTest, BufferWithoutTerminatorIsLeftUntouched) {
    GuardedBuffer buffer;
    buffer.FillUnterminated(L"%WinDir%");
    ExpandPathMacros(buffer.get());
    EXPECT_FALSE(buffer.IsTerminated());
    EXPECT_EQ(L'%', buffer.get()[0]);
    EXPECT_FALSE(ReplaceMacro(buffer.get(), L"%WinDir%", L"x"));
}

TEST(ReplaceMacroTest, ReplacesTheFirstMatchAndReportsIt) {
    GuardedBuffer text;
    text.Assign(L"a%X%b%x%c");
    EXPECT_TRUE(ReplaceMacro(text.get(), L"%x%", L"[value]"));
    EXPECT_EQ(L"a[value]b%x%c", text.Text());
    EXPECT_TRUE(ReplaceMacro(text.get(), L"%x%", L""));
    EXPECT_EQ(L"a[value]bc", text.Text());
    EXPECT_FALSE(ReplaceMacro(text.get(), L"%x%", L"y"));
    EXPECT_FALSE(ReplaceMacro(text.get(), L"", L"y"));
    EXPECT_EQ(L"a[value]bc", text.Text());

    // A value of 259 units fits exactly in place of the whole text.
    GuardedBuffer value;
    value.Assign(std::wstring(259, L'v'));
    text.Assign(L"%M%");
    EXPECT_TRUE(ReplaceMacro(text.get(), L"%M%", value.get()));
    EXPECT_EQ(std::wstring(259, L'v'), text.Text());
    text.Assign(L"%M%.");
    EXPECT_FALSE(ReplaceMacro(text.get(), L"%M%", value.get()));
    EXPECT_EQ(L"%M%.", text.Text());
}

TEST(LanguageTextTest, IsADigitZeroAndTheIdentifierInUpperCaseHex) {
    const struct {
        LANGID language;
        const wchar_t* text;
    } cases[] = {{0x0409, L"0409"},  {0x0411, L"0411"}, {0x0C0A, L"0C0A"},
                 {0x1004, L"01004"}, {0x0001, L"01"},   {0xFFFF, L"0FFFF"}};
    for (const auto& c : cases) {
        wchar_t text[8];
        FormatLanguageId(c.language, text);
        EXPECT_EQ(std::wstring(c.text), text);
    }
    GuardedBuffer buffer;
    EXPECT_EQ(::GetSystemDefaultUILanguage(), FormatUiLanguage(buffer.get()));
    wchar_t expected[8];
    FormatLanguageId(::GetSystemDefaultUILanguage(), expected);
    EXPECT_EQ(expected, buffer.Text());
}

} // namespace
