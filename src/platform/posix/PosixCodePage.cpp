// The 8-bit code page outside Windows: a table, Windows-1252 unless another is chosen.
#include "platform/CodePage.h"
#include "platform/CodePageTables.h"

namespace qel {
namespace {

const CodePageTable* current = FindCodePage(1252);

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::string WideToSystem(std::u16string_view text) {
    std::string out(text.size(), '?');
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c < 0x80) {
            out[i] = static_cast<char>(c);
            continue;
        }
        for (int k = 0; k < 128; ++k) {
            if (current->high[k] == c) {
                out[i] = static_cast<char>(0x80 + k);
                break;
            }
        }
    }
    return out;
}

std::u16string SystemToWide(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (unsigned char b : text) out += b < 0x80 ? char16_t{b} : current->high[b - 0x80];
    return out;
}

std::string SystemToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (unsigned char b : text) AppendUtf8(out, b < 0x80 ? b : current->high[b - 0x80]);
    return out;
}

bool SelectCodePage(unsigned number) {
    const CodePageTable* table = FindCodePage(number);
    if (!table) return false;
    current = table;
    return true;
}

char DecimalSeparator() { return '.'; }

}  // namespace qel
