#pragma once
// Trimming rules shared by the tag readers: characters of code 0 to 32 are
// blanks (the zero fill and the padding of fixed-width fields).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qel {

inline bool IsTagBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

// The text between its leading and trailing blanks.
std::string_view TrimmedView(std::string_view text);

// Removes blanks at the end only; inner zero bytes stay.
std::string TrimRight(std::string_view text);
// Removes blanks at both ends.
std::string TrimBoth(std::string_view text);

// Letters a to z upper-cased, every other byte kept (comment names).
std::string AsciiUpper(std::string_view text);

// A fixed-width field of a tag, taken whole, blanks removed at its end.
inline std::string TrimmedField(const uint8_t* bytes, size_t width) {
    return TrimRight(std::string_view(reinterpret_cast<const char*>(bytes), width));
}

}  // namespace qel
