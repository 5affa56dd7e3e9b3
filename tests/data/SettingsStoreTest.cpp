// The registry routines against the prefix's real registry, and the profile
// switches against a real profile file in the prefix's Windows folder.
#include "DataTestSupport.h"
#include "common/ProfileFileName.h"
#include "media_menu/data/SettingsStore.h"
#include "tests/support/ProfileFile.h"
#include "tests/support/TestPaths.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

using SettingsStoreTest = MediaRegistryTest;

TEST(ProfileFileNameTest, IsTheBaseNameAfterTheLastSeparatorCutAtItsLastDot) {
    struct Case {
        const wchar_t* modulePath;
        const wchar_t* profileName;
    } cases[] = {
        {L"C:\\a.b\\VLTMedia.exe", L"VLTMedia.INI"},
        {L"C:\\dir\\noext", L"noext.INI"},
        {L"D:name.x.exe", L"name.x.INI"},
        {L"C:/x/y.z/Prog.EXE", L"Prog.INI"},
        {L"\\\\server\\share\\a.b.c", L"a.b.INI"},
    };
    for (const Case& c : cases) {
        wchar_t name[MAX_PATH];
        EXPECT_TRUE(FormProfileFileName(c.modulePath, name, MAX_PATH)) << Utf8(c.modulePath);
        EXPECT_EQ(std::wstring(c.profileName), name);
    }
    wchar_t small[8];
    EXPECT_FALSE(FormProfileFileName(L"C:\\abcd.exe", small, 8)); // "abcd.INI" needs 9
    EXPECT_EQ(std::wstring(), small);
}

TEST_F(SettingsStoreTest, WriteCreatesTheKeyPathAndStoresExactTypeAndBytes) {
    const BYTE bytes[] = {1, 0, 2};
    EXPECT_EQ(ERROR_SUCCESS, WriteRegValue(HKEY_CURRENT_USER, L"SOFTWARE\\WZK\\a\\b", L"Bin",
                                           REG_BINARY, bytes, sizeof bytes));
    RegistryValue value = ReadRegistryValue(HKEY_CURRENT_USER, L"SOFTWARE\\WZK\\a\\b", L"Bin");
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), value.type);
    EXPECT_EQ(std::vector<BYTE>(bytes, bytes + 3), value.data);

    EXPECT_EQ(ERROR_SUCCESS, StoreCurrentSelection(L"Média Player"));
    EXPECT_EQ(TextValue(L"Média Player"), CurrentSelection()); // 26 bytes: (12 + 1) x 2
}

TEST_F(SettingsStoreTest, ReadOffersTheCallersSizeAndReportsTheType) {
    WriteRegistryText(HKEY_CURRENT_USER, kMediaKey, L"Short", L"abc");
    wchar_t text[MAX_PATH] = {};
    DWORD type = REG_NONE;
    DWORD size = sizeof text;
    EXPECT_EQ(ERROR_SUCCESS,
              ReadRegValue(HKEY_CURRENT_USER, kMediaKey, L"Short", &type, text, &size));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(8u, size);
    EXPECT_EQ(std::wstring(L"abc"), text);

    size = 6; // too small for "abc" and its terminator
    EXPECT_EQ(ERROR_MORE_DATA,
              ReadRegValue(HKEY_CURRENT_USER, kMediaKey, L"Short", &type, text, &size));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND,
              ReadRegValue(HKEY_CURRENT_USER, kMediaKey, L"Missing", &type, text, &size));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, ReadRegValue(HKEY_CURRENT_USER, L"SOFTWARE\\WZK\\None",
                                                 L"Short", &type, text, &size));
}

TEST_F(SettingsStoreTest, TextReadIsAlwaysTerminatedInsideItsBuffer) {
    const std::wstring u259(259, L'u');
    const std::wstring u260(260, L'v');
    wchar_t text[kTextUnits];

    WriteRegistryText(HKEY_CURRENT_USER, kMediaKey, L"T259", u259);
    EXPECT_EQ(ERROR_SUCCESS, ReadRegText(HKEY_CURRENT_USER, kMediaKey, L"T259", text));
    EXPECT_EQ(u259, text);

    // 260 units with a terminator is too long; the text is left empty.
    WriteRegistryText(HKEY_CURRENT_USER, kMediaKey, L"T260", u260);
    EXPECT_EQ(ERROR_MORE_DATA, ReadRegText(HKEY_CURRENT_USER, kMediaKey, L"T260", text));
    EXPECT_EQ(std::wstring(), text);

    // 260 units without one: Windows fills the 520 bytes, Wine refuses a
    // text without room for its terminator. Either way the result is bounded.
    WriteRegistryBytes(HKEY_CURRENT_USER, kMediaKey, L"Bare260", REG_SZ, u260.data(), 520);
    LONG bare = ReadRegText(HKEY_CURRENT_USER, kMediaKey, L"Bare260", text);
    EXPECT_EQ(bare == ERROR_SUCCESS ? std::wstring(259, L'v') : std::wstring(), text);

    // Other types land in the buffer as bytes, still terminated; 520 bytes
    // without a zero unit fill all 260 units, of which 259 are kept.
    WriteRegistryDword(HKEY_CURRENT_USER, kMediaKey, L"Number", 0x00410042);
    EXPECT_EQ(ERROR_SUCCESS, ReadRegText(HKEY_CURRENT_USER, kMediaKey, L"Number", text));
    EXPECT_EQ(std::wstring(L"BA"), text);
    const std::vector<BYTE> binary(520, 0x41);
    WriteRegistryBytes(HKEY_CURRENT_USER, kMediaKey, L"Binary", REG_BINARY, binary.data(), 520);
    EXPECT_EQ(ERROR_SUCCESS, ReadRegText(HKEY_CURRENT_USER, kMediaKey, L"Binary", text));
    EXPECT_EQ(std::wstring(259, L'\x4141'), text);
}

// The profile file the platform finds for this test program; the test owns it.
class ProfileTest : public ::testing::Test {
protected:
    ScratchProfileFile m_profile;
};

TEST_F(ProfileTest, MissingFileGivesEveryDefault) {
    EXPECT_EQ(0, ReadProfileInt(ProfileKey::kAddCaption, 0));
    EXPECT_EQ(1, ReadProfileInt(ProfileKey::kCloseOnDeactivation, 1));
    EXPECT_EQ(0, ReadProfileInt(ProfileKey::kAllowMenuReposition, 0));
    EXPECT_EQ(1, ReadProfileInt(ProfileKey::kHideUpDownWhenNotNeeded, 1));
    EXPECT_EQ(4, ReadProfileInt(ProfileKey::kButtonEllipticalWidth, 4));
    EXPECT_EQ(4, ReadProfileInt(ProfileKey::kButtonEllipticalHeight, 4));
    EXPECT_EQ(25, ReadProfileInt(ProfileKey::kWindowEllipticalWidth, 25));
    EXPECT_EQ(25, ReadProfileInt(ProfileKey::kWindowEllipticalHeight, 25));
}

TEST_F(ProfileTest, ReadsLeadingDigitsOfTheEmptySectionsValues) {
    m_profile.Write(ScratchProfileFile::EmptySection("Close On Deactivation=0\r\n"
                                                     "Button Elliptical Width=12abc\r\n"
                                                     "Allow Menu Reposition=yes\r\n"
                                                     "Window Elliptical Height=40\r\n") +
                    "[Other]\r\nAdd Caption=7\r\n");
    EXPECT_EQ(0, ReadProfileInt(L"Close On Deactivation", 1));
    EXPECT_EQ(12, ReadProfileInt(L"Button Elliptical Width", 4));
    EXPECT_EQ(0, ReadProfileInt(L"Allow Menu Reposition", 5)); // no digit: 0, not the default
    EXPECT_EQ(40, ReadProfileInt(L"Window Elliptical Height", 25));
    EXPECT_EQ(25, ReadProfileInt(L"Window Elliptical Width", 25)); // missing key
    EXPECT_EQ(0, ReadProfileInt(L"Add Caption", 0));               // other section only
}

TEST_F(ProfileTest, EveryCallReadsTheFileAsItIsNow) {
    m_profile.WriteEmptySection("Add Caption=1\r\n");
    EXPECT_EQ(1, ReadProfileInt(L"Add Caption", 0));
    m_profile.WriteEmptySection("Add Caption=3\r\n");
    EXPECT_EQ(3, ReadProfileInt(L"Add Caption", 0));
    ::DeleteFileW(m_profile.Path().c_str());
    EXPECT_EQ(9, ReadProfileInt(L"Add Caption", 9));
}

} // namespace
