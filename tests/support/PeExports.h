#pragma once
// Reads the export directory of a Windows library file (PE32 or PE32+).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qel::test {

struct PeExports {
    std::string libraryName;
    uint32_t ordinalBase = 0;
    std::vector<uint32_t> ordinals;  // every ordinal with an address, ascending
    struct Name {
        std::string name;
        uint32_t ordinal;
        bool operator==(const Name&) const = default;
        auto operator<=>(const Name&) const = default;
    };
    std::vector<Name> names;  // in the file's name-table order
};

// Nothing when the file is missing or not a PE32 or PE32+ library with exports.
std::optional<PeExports> ReadPeExports(const std::string& path);

}  // namespace qel::test
