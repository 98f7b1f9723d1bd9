#include "tools/InfoText.h"

#include "platform/CodePage.h"

namespace qel {
namespace {

std::string Line(const char* name, const std::string& value) {
    std::string line = name;
    line += ':';
    if (!value.empty()) line += ' ' + value;
    line += '\n';
    return line;
}

}  // namespace

std::string HostText(const std::string& recordText) {
    return SystemToUtf8(std::string_view(recordText.c_str()));
}

std::string SanitizeUtf8(std::string_view text) {
    static const char kReplacement[] = "\xEF\xBF\xBD";
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        auto b = static_cast<unsigned char>(text[i]);
        size_t length = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        bool ok = length > 0 && i + length <= text.size();
        char32_t c = length == 1 ? b : length == 2 ? b & 0x1F : length == 3 ? b & 0x0F : b & 0x07;
        for (size_t k = 1; ok && k < length; ++k) {
            auto next = static_cast<unsigned char>(text[i + k]);
            ok = (next & 0xC0) == 0x80;
            c = c << 6 | (next & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are malformed too.
        static const char32_t kSmallest[5] = {0, 0, 0x80, 0x800, 0x10000};
        if (ok && (c < kSmallest[length] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)) ok = false;
        if (ok) {
            out.append(text.substr(i, length));
            i += length;
        } else {
            out += kReplacement;
            ++i;
        }
    }
    return out;
}

std::string TextReport(const FileReport& report) {
    std::string out = Line("file", report.file);
    out += Line("typetag", HostText(report.typetag));
    out += Line("title", HostText(report.title));
    for (size_t i = 0; i < Tinfosound::kFieldCount; ++i) {
        std::string value = HostText(report.sound.*Tinfosound::kFields[i]);
        if (!value.empty()) out += Line(Tinfosound::kNames[i], value);
    }
    for (const auto& named : Tinfotag::kNamed) {
        std::string value = HostText(report.tag.*named.field);
        if (!value.empty()) out += Line(named.name, value);
    }
    return out;
}

}  // namespace qel
