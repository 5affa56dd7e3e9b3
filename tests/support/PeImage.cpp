#include "PeImage.h"

#include "FileContents.h"

#include <algorithm>
#include <cctype>

namespace {

class ImageView {
public:
    ImageView(const std::vector<BYTE>& bytes, const IMAGE_SECTION_HEADER* sections, WORD count)
        : m_bytes(bytes), m_sections(sections), m_count(count) {}

    // File offset of a relative virtual address, or 0 when it lies in no section.
    size_t Offset(DWORD rva) const {
        for (WORD i = 0; i < m_count; ++i) {
            const IMAGE_SECTION_HEADER& s = m_sections[i];
            DWORD extent = std::max(s.Misc.VirtualSize, s.SizeOfRawData);
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + extent) {
                size_t offset = rva - s.VirtualAddress + s.PointerToRawData;
                return offset < m_bytes.size() ? offset : 0;
            }
        }
        return 0;
    }

    template <class T> const T* At(DWORD rva) const {
        size_t offset = Offset(rva);
        if (offset == 0 || offset + sizeof(T) > m_bytes.size()) {
            return nullptr;
        }
        return reinterpret_cast<const T*>(m_bytes.data() + offset);
    }

    std::string String(DWORD rva) const {
        size_t offset = Offset(rva);
        std::string text;
        while (offset != 0 && offset < m_bytes.size() && m_bytes[offset] != 0) {
            text.push_back(static_cast<char>(m_bytes[offset++]));
        }
        return text;
    }

private:
    const std::vector<BYTE>& m_bytes;
    const IMAGE_SECTION_HEADER* m_sections;
    WORD m_count;
};

// The subsystem, imports and exports from the headers of a PE32 (Nt =
// IMAGE_NT_HEADERS32) or PE32+ (IMAGE_NT_HEADERS64) file.
template <class Nt> void ReadOptionalParts(const std::vector<BYTE>& bytes, PeImage& image) {
    auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes.data());
    if (static_cast<size_t>(dos->e_lfanew) + sizeof(Nt) > bytes.size()) {
        return;
    }
    auto nt = reinterpret_cast<const Nt*>(bytes.data() + dos->e_lfanew);
    image.subsystem = nt->OptionalHeader.Subsystem;
    auto sections = IMAGE_FIRST_SECTION(nt);
    ImageView view(bytes, sections, nt->FileHeader.NumberOfSections);

    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (DWORD rva = imports.VirtualAddress; imports.Size != 0;
         rva += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        auto descriptor = view.At<IMAGE_IMPORT_DESCRIPTOR>(rva);
        if (descriptor == nullptr || descriptor->Name == 0) {
            break;
        }
        image.importedDlls.push_back(view.String(descriptor->Name));
    }

    const IMAGE_DATA_DIRECTORY& exports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    if (exports.Size != 0) {
        auto directory = view.At<IMAGE_EXPORT_DIRECTORY>(exports.VirtualAddress);
        for (DWORD i = 0; directory != nullptr && i < directory->NumberOfNames; ++i) {
            auto nameRva = view.At<DWORD>(directory->AddressOfNames + i * sizeof(DWORD));
            if (nameRva != nullptr) {
                image.exportedNames.push_back(view.String(*nameRva));
            }
        }
    }
    image.valid = true;
}

} // namespace

PeImage ReadPeImage(const std::wstring& path) {
    PeImage image;
    std::vector<BYTE> bytes;
    if (!ReadFileBytes(path, bytes) || bytes.size() < sizeof(IMAGE_DOS_HEADER)) {
        return image;
    }
    auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes.data());
    if (dos->e_magic != IMAGE_DOS_SIGNATURE || dos->e_lfanew <= 0 ||
        static_cast<size_t>(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS32) > bytes.size()) {
        return image;
    }
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(bytes.data() + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE) {
        return image;
    }
    image.machine = nt->FileHeader.Machine;
    image.characteristics = nt->FileHeader.Characteristics;
    image.optionalHeaderMagic = nt->OptionalHeader.Magic;
    if (image.optionalHeaderMagic == IMAGE_NT_OPTIONAL_HDR32_MAGIC) {
        ReadOptionalParts<IMAGE_NT_HEADERS32>(bytes, image);
    } else if (image.optionalHeaderMagic == IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
        ReadOptionalParts<IMAGE_NT_HEADERS64>(bytes, image);
    }
    return image;
}

bool IsWindowsSystemDll(const std::string& dllName) {
    // tools/system-dlls.txt, as ",name,name," (tests/support/CMakeLists.txt).
    static const std::string kSystemDlls = std::string(",") + WINDOWS_SYSTEM_DLLS + ",";
    const std::string extension = ".dll";
    std::string lower = dllName;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower.size() <= extension.size() ||
        lower.compare(lower.size() - extension.size(), extension.size(), extension) != 0) {
        return false;
    }
    lower.resize(lower.size() - extension.size());
    return kSystemDlls.find("," + lower + ",") != std::string::npos;
}
