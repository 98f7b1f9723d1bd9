#pragma once
// Colour and integer texts of the playlist's appearance commands and style files.
#include <cstdint>
#include <optional>
#include <string_view>

namespace qel {

// A signed 32-bit integer in decimal, or in hexadecimal after "$" (and after
// "0x"/"0X" when allowed); leading blanks and one sign are accepted. Eight
// hexadecimal digits cover the whole 32-bit pattern ("$FF000008" is
// negative). Nothing when the text is not such a number or does not fit.
std::optional<int32_t> Int32FromText(std::string_view text, bool allowZeroX);

// A colour name of the two colour tables (compared without case) or an
// integer in decimal or after "$"; nothing when the text is neither.
std::optional<int32_t> ColorFromText(std::string_view text);

}  // namespace qel
