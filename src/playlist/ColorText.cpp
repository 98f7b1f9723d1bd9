#include "playlist/ColorText.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "platform/IniInteger.h"
#include "platform/ListLook.h"

namespace qel {
namespace {

struct NamedColor {
    std::string_view name;
    int32_t value;
};

constexpr std::array<NamedColor, 22> kColorNames{{
    {"clBlack", 0x000000},      {"clMaroon", 0x000080},      {"clGreen", 0x008000},
    {"clOlive", 0x008080},      {"clNavy", 0x800000},        {"clPurple", 0x800080},
    {"clTeal", 0x808000},       {"clGray", 0x808080},        {"clSilver", 0xC0C0C0},
    {"clMedGray", 0xA4A0A0},    {"clNone", kColorNone},      {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},       {"clYellow", 0x00FFFF},      {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},    {"clAqua", 0xFFFF00},        {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6},     {"clCream", 0xF0FBFF},
    {"clDefault", kColorDefault},
}};

struct SystemColorName {
    std::string_view name;
    int index;
};

constexpr std::array<SystemColorName, 30> kSystemColorNames{{
    {"clScrollBar", 0},          {"clBackground", 1},
    {"clActiveCaption", 2},      {"clInactiveCaption", 3},
    {"clMenu", 4},               {"clWindow", 5},
    {"clWindowFrame", 6},        {"clMenuText", 7},
    {"clWindowText", 8},         {"clCaptionText", 9},
    {"clActiveBorder", 10},      {"clInactiveBorder", 11},
    {"clAppWorkSpace", 12},      {"clHighlight", 13},
    {"clHighlightText", 14},     {"clBtnFace", 15},
    {"clBtnShadow", 16},         {"clGrayText", 17},
    {"clBtnText", 18},           {"clInactiveCaptionText", 19},
    {"clBtnHighlight", 20},      {"cl3DDkShadow", 21},
    {"cl3DLight", 22},           {"clInfoText", 23},
    {"clInfoBk", 24},            {"clHotLight", 26},
    {"clGradientActiveCaption", 27}, {"clGradientInactiveCaption", 28},
    {"clMenuHighlight", 29},     {"clMenuBar", 30},
}};

bool SameWithoutCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

std::optional<int32_t> Int32FromText(std::string_view text, bool allowZeroX) {
    return IniInteger(text, allowZeroX ? kHexDollar | kHexZeroX : kHexDollar);
}

std::optional<int32_t> ColorFromText(std::string_view text) {
    for (const auto& c : kColorNames)
        if (SameWithoutCase(c.name, text)) return c.value;
    for (const auto& c : kSystemColorNames)
        if (SameWithoutCase(c.name, text)) return SystemColor(c.index);
    return Int32FromText(text, false);
}

}  // namespace qel
