#include "platform/IniInteger.h"

namespace qel {
namespace {

int DigitValue(char c, int base) {
    int v = -1;
    if (c >= '0' && c <= '9') v = c - '0';
    else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
    return v < base ? v : -1;
}

// The length of a hexadecimal prefix at the start of text, 0 when none.
size_t HexPrefixLength(std::string_view text, unsigned prefixes) {
    if (text.empty()) return 0;
    if ((prefixes & kHexDollar) && text[0] == '$') return 1;
    if ((prefixes & kHexX) && (text[0] == 'x' || text[0] == 'X')) return 1;
    if ((prefixes & kHexZeroX) && text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) return 2;
    return 0;
}

}  // namespace

std::optional<int32_t> IniInteger(std::string_view text, unsigned hexPrefixes) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    const size_t prefix = HexPrefixLength(text.substr(i), hexPrefixes);
    const int base = prefix ? 16 : 10;
    i += prefix;
    if (i == text.size()) return std::nullopt;
    const uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    uint64_t value = 0;
    for (; i < text.size(); ++i) {
        int digit = DigitValue(text[i], base);
        if (digit < 0) return std::nullopt;
        value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
        if (value > limit) return std::nullopt;
    }
    uint32_t bits = static_cast<uint32_t>(value);
    if (negative) bits = 0u - bits;
    return static_cast<int32_t>(bits);
}

}  // namespace qel
