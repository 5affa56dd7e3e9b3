// The deliverables are 32-bit x86 PE files (the 64-bit builds of the BIOS
// library and the simulator x86-64 ones) that need nothing but Windows'
// own DLLs (the C++ runtime is linked in statically); the programs carry a
// manifest that says which rights they need and which Windows they know, and
// the menu's says that it draws itself at every monitor's DPI.
#include "tests/support/PeImage.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

namespace {

struct Format {
    WORD machine;
    WORD optionalHeaderMagic;
};
const Format kX86 = {IMAGE_FILE_MACHINE_I386, IMAGE_NT_OPTIONAL_HDR32_MAGIC};
const Format kX64 = {IMAGE_FILE_MACHINE_AMD64, IMAGE_NT_OPTIONAL_HDR64_MAGIC};

struct Deliverable {
    const wchar_t* fileName; // in build\bin
    Format format;
    WORD subsystem;
    bool isDll;
    const char* executionLevel;      // of the manifest; none for a DLL
    bool perMonitorDpiAware = false; // declared in the manifest
};

// The program's manifest resource as text; empty when there is none.
std::string ManifestOf(const std::wstring& path) {
    std::string text;
    HMODULE module = ::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC resource =
        module ? ::FindResourceW(module, CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST) : nullptr;
    HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
    if (const char* data = loaded ? static_cast<const char*>(::LockResource(loaded)) : nullptr) {
        text.assign(data, ::SizeofResource(module, resource));
    }
    if (module != nullptr) {
        ::FreeLibrary(module);
    }
    return text;
}

void PrintTo(const Deliverable& d, std::ostream* os) {
    *os << Utf8(d.fileName);
}

class BinaryFormatTest : public ::testing::TestWithParam<Deliverable> {};

TEST_P(BinaryFormatTest, IsAPeOfItsMachineImportingOnlySystemDlls) {
    const Deliverable& d = GetParam();
    std::wstring path = DeliverablePath(d.fileName);
    PeImage image = ReadPeImage(path);
    ASSERT_TRUE(image.valid) << Utf8(path);
    EXPECT_EQ(d.format.machine, image.machine);
    EXPECT_EQ(d.format.optionalHeaderMagic, image.optionalHeaderMagic);
    EXPECT_EQ(d.subsystem, image.subsystem);
    EXPECT_EQ(d.isDll, (image.characteristics & IMAGE_FILE_DLL) != 0);
    for (const std::string& dll : image.importedDlls) {
        EXPECT_TRUE(IsWindowsSystemDll(dll)) << Utf8(path) << " imports " << dll;
    }
    if (d.executionLevel != nullptr) {
        const std::string manifest = ManifestOf(path);
        EXPECT_NE(std::string::npos,
                  manifest.find("level=\"" + std::string(d.executionLevel) + "\""))
            << manifest;
        // Windows 10 and 11 among the supported systems.
        EXPECT_NE(std::string::npos, manifest.find("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"))
            << manifest;
        // Per-monitor aware where the system knows it (version 2 first),
        // and for systems before Windows 10 in the older element.
        for (const char* declaration :
             {">PerMonitorV2, PerMonitor</dpiAwareness>", ">true/pm</dpiAware>"}) {
            EXPECT_EQ(d.perMonitorDpiAware, manifest.find(declaration) != std::string::npos)
                << declaration << "\n"
                << manifest;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Deliverables, BinaryFormatTest,
    ::testing::Values(
        Deliverable{L"kbdsetup.exe", kX86, IMAGE_SUBSYSTEM_WINDOWS_GUI, false,
                    "requireAdministrator"},
        Deliverable{L"VLTMedia.exe", kX86, IMAGE_SUBSYSTEM_WINDOWS_GUI, false, "asInvoker", true},
        Deliverable{L"wzkWmiBios.dll", kX86, IMAGE_SUBSYSTEM_WINDOWS_GUI, true, nullptr},
        Deliverable{L"wzkbios.exe", kX86, IMAGE_SUBSYSTEM_WINDOWS_CUI, false, nullptr},
        Deliverable{L"wzkFirmwareSim.dll", kX86, IMAGE_SUBSYSTEM_WINDOWS_GUI, true, nullptr},
        Deliverable{L"VeltraneSetup.exe", kX86, IMAGE_SUBSYSTEM_WINDOWS_GUI, false,
                    "requireAdministrator"},
        Deliverable{L"x64\\wzkWmiBios.dll", kX64, IMAGE_SUBSYSTEM_WINDOWS_GUI, true, nullptr},
        Deliverable{L"x64\\wzkFirmwareSim.dll", kX64, IMAGE_SUBSYSTEM_WINDOWS_GUI, true, nullptr}),
    [](const ::testing::TestParamInfo<Deliverable>& info) {
        std::wstring name = info.param.fileName;
        for (wchar_t& c : name) {
            c = c == L'\\' ? L'_' : c;
        }
        return Utf8(name.substr(0, name.find(L'.')));
    });

} // namespace
