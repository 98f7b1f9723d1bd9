#include "support/PeExports.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace qel::test {

namespace {

class Image {
public:
    explicit Image(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

    bool Has(uint64_t offset, uint64_t count) const { return offset + count <= bytes_.size(); }
    uint32_t U16(uint64_t offset) const {
        return Has(offset, 2) ? bytes_[offset] | bytes_[offset + 1] << 8 : 0;
    }
    uint32_t U32(uint64_t offset) const {
        return Has(offset, 4) ? U16(offset) | U16(offset + 2) << 16 : 0;
    }
    std::string Text(uint64_t offset) const {
        std::string text;
        while (Has(offset, 1) && bytes_[offset] != 0 && text.size() < 4096) text += char(bytes_[offset++]);
        return text;
    }

    // Section table: RVA to file offset.
    struct Section {
        uint32_t address, size, rawOffset, rawSize;
    };
    std::vector<Section> sections;

    std::optional<uint64_t> Offset(uint32_t rva) const {
        for (const Section& s : sections)
            if (rva >= s.address && rva - s.address < std::max(s.size, s.rawSize))
                return uint64_t(s.rawOffset) + (rva - s.address);
        return std::nullopt;
    }

private:
    std::vector<uint8_t> bytes_;
};

}  // namespace

std::optional<PeExports> ReadPeExports(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    Image image(std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {}));
    if (image.U16(0) != 0x5A4D) return std::nullopt;  // "MZ"
    const uint32_t pe = image.U32(0x3C);
    if (image.U32(pe) != 0x00004550) return std::nullopt;  // "PE\0\0"
    const uint32_t sectionCount = image.U16(pe + 6);
    const uint32_t optionalSize = image.U16(pe + 20);
    const uint64_t optional = pe + 24;
    // The data directories (the export one first) follow the fields that PE32
    // and PE32+ lay out differently.
    uint32_t directories = 0;
    switch (image.U16(optional)) {
        case 0x10B: directories = 96; break;   // PE32
        case 0x20B: directories = 112; break;  // PE32+
        default: return std::nullopt;
    }
    if (optionalSize < directories + 8) return std::nullopt;
    const uint32_t exportRva = image.U32(optional + directories);
    for (uint32_t i = 0; i < sectionCount && i < 96; ++i) {
        const uint64_t s = optional + optionalSize + 40ull * i;
        image.sections.push_back({image.U32(s + 12), image.U32(s + 8), image.U32(s + 20), image.U32(s + 16)});
    }
    const auto dir = image.Offset(exportRva);
    if (exportRva == 0 || !dir) return std::nullopt;

    PeExports result;
    result.libraryName = image.Text(image.Offset(image.U32(*dir + 12)).value_or(~0ull));
    result.ordinalBase = image.U32(*dir + 16);
    const uint32_t functionCount = image.U32(*dir + 20);
    const uint32_t nameCount = image.U32(*dir + 24);
    const auto functions = image.Offset(image.U32(*dir + 28));
    const auto names = image.Offset(image.U32(*dir + 32));
    const auto nameOrdinals = image.Offset(image.U32(*dir + 36));
    if (!functions || (nameCount > 0 && (!names || !nameOrdinals))) return std::nullopt;
    for (uint32_t i = 0; i < functionCount && i < 65536; ++i)
        if (image.U32(*functions + 4ull * i) != 0) result.ordinals.push_back(result.ordinalBase + i);
    for (uint32_t i = 0; i < nameCount && i < 65536; ++i) {
        const auto name = image.Offset(image.U32(*names + 4ull * i));
        if (!name) return std::nullopt;
        result.names.push_back({image.Text(*name), result.ordinalBase + image.U16(*nameOrdinals + 2ull * i)});
    }
    return result;
}

}  // namespace qel::test
