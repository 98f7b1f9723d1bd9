#pragma once
// Integers in the texts of initialisation files and commands: leading
// blanks, one optional sign, then decimal digits or hexadecimal digits after
// one of the allowed prefixes. Nothing may follow.
#include <cstdint>
#include <optional>
#include <string_view>

namespace qel {

// Prefixes that introduce hexadecimal digits; combine with |.
enum HexPrefix : unsigned {
    kHexDollar = 1,  // "$1F"
    kHexZeroX = 2,   // "0x1F", "0X1F"
    kHexX = 4,       // "x1F", "X1F"
};

// Decimal must fit a signed 32-bit value; hexadecimal may use all 32 bits
// ("$FFFFFFFF" is -1). Nothing when the text is not such a number.
std::optional<int32_t> IniInteger(std::string_view text, unsigned hexPrefixes);

}  // namespace qel
