// The deliverables are 32-bit x86 PE files that need nothing but Windows'
// own DLLs (the C++ runtime is linked in statically).
#include "tests/support/PeImage.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

namespace {

struct Deliverable {
    const wchar_t* fileName;
    WORD subsystem;
    bool isDll;
};

void PrintTo(const Deliverable& d, std::ostream* os) {
    *os << Utf8(d.fileName);
}

class BinaryFormatTest : public ::testing::TestWithParam<Deliverable> {};

TEST_P(BinaryFormatTest, IsA32BitPeImportingOnlySystemDlls) {
    const Deliverable& d = GetParam();
    std::wstring path = DeliverablePath(d.fileName);
    PeImage image = ReadPeImage(path);
    ASSERT_TRUE(image.valid) << Utf8(path);
    EXPECT_EQ(IMAGE_FILE_MACHINE_I386, image.machine);
    EXPECT_EQ(IMAGE_NT_OPTIONAL_HDR32_MAGIC, image.optionalHeaderMagic);
    EXPECT_EQ(d.subsystem, image.subsystem);
    EXPECT_EQ(d.isDll, (image.characteristics & IMAGE_FILE_DLL) != 0);
    for (const std::string& dll : image.importedDlls) {
        EXPECT_TRUE(IsWindowsSystemDll(dll)) << Utf8(path) << " imports " << dll;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Deliverables, BinaryFormatTest,
    ::testing::Values(Deliverable{L"kbdsetup.exe", IMAGE_SUBSYSTEM_WINDOWS_GUI, false},
                      Deliverable{L"VLTMedia.exe", IMAGE_SUBSYSTEM_WINDOWS_GUI, false},
                      Deliverable{L"wzkWmiBios.dll", IMAGE_SUBSYSTEM_WINDOWS_GUI, true},
                      Deliverable{L"wzkbios.exe", IMAGE_SUBSYSTEM_WINDOWS_CUI, false},
                      Deliverable{L"wzkFirmwareSim.dll", IMAGE_SUBSYSTEM_WINDOWS_GUI, true}),
    [](const ::testing::TestParamInfo<Deliverable>& info) {
        std::wstring name = info.param.fileName;
        return Utf8(name.substr(0, name.find(L'.')));
    });

} // namespace
