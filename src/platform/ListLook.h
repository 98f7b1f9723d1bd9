#pragma once
// The look of the playlist box: its font and its background colour.
#include <cstdint>
#include <string>

namespace qel {

// Colour values: 0x00BBGGRR for a direct colour, 0xFF000000 plus an index for
// a system colour, and the two special values below.
constexpr int32_t kColorNone = 0x1FFFFFFF;
constexpr int32_t kColorDefault = 0x20000000;
constexpr int32_t kSystemColorBase = static_cast<int32_t>(0xFF000000u);
constexpr int32_t SystemColor(int index) { return kSystemColorBase + index; }
constexpr int32_t kColorWindow = SystemColor(5);
constexpr int32_t kColorWindowText = SystemColor(8);

struct ListFont {
    std::string name = "MS Sans Serif";
    int32_t size = 8;  // points
    int32_t color = kColorWindowText;
    uint8_t charset = 1;  // the system's default character set
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    bool operator==(const ListFont&) const = default;
};

}  // namespace qel
