#include "tools/InfoJson.h"

#include <cstdio>

#include "tools/InfoText.h"

namespace qel {
namespace {

void AppendJsonString(std::string& out, std::string_view utf8) {
    out += '"';
    for (char ch : utf8) {
        auto c = static_cast<unsigned char>(ch);
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            case '\b': out += "\\b"; break;
            case '\f': out += "\\f"; break;
            default:
                if (c < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    out += escaped;
                } else {
                    out += ch;
                }
        }
    }
    out += '"';
}

void AppendMember(std::string& out, const char* indent, const char* name, std::string_view utf8, bool last) {
    out += indent;
    AppendJsonString(out, name);
    out += ": ";
    AppendJsonString(out, utf8);
    out += last ? "\n" : ",\n";
}

}  // namespace

std::string JsonString(std::string_view utf8) {
    std::string out;
    AppendJsonString(out, utf8);
    return out;
}

std::string JsonReport(const std::vector<FileReport>& reports) {
    std::string out = "[";
    for (size_t r = 0; r < reports.size(); ++r) {
        const FileReport& report = reports[r];
        out += r == 0 ? "\n  {\n" : ",\n  {\n";
        AppendMember(out, "    ", "file", SanitizeUtf8(report.file), false);
        AppendMember(out, "    ", "typetag", HostText(report.typetag), false);
        AppendMember(out, "    ", "title", HostText(report.title), false);
        out += "    \"sound\": {\n";
        for (size_t i = 0; i < Tinfosound::kFieldCount; ++i)
            AppendMember(out, "      ", Tinfosound::kNames[i], HostText(report.sound.*Tinfosound::kFields[i]),
                         i + 1 == Tinfosound::kFieldCount);
        out += "    },\n    \"tag\": {\n";
        for (size_t i = 0; i < Tinfotag::kNamedCount; ++i)
            AppendMember(out, "      ", Tinfotag::kNamed[i].name, HostText(report.tag.*Tinfotag::kNamed[i].field),
                         i + 1 == Tinfotag::kNamedCount);
        out += "    }\n  }";
    }
    out += reports.empty() ? "]\n" : "\n]\n";
    return out;
}

}  // namespace qel
