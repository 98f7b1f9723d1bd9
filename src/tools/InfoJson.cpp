#include "tools/InfoJson.h"

#include <algorithm>
#include <cstdio>

#include "tools/InfoText.h"

namespace qel {
namespace {

// The escape of a byte that cannot stand in a JSON string as it is; null
// for the others.
const char* Escape(unsigned char c, char (&buffer)[8]) {
    switch (c) {
        case '"': return "\\\"";
        case '\\': return "\\\\";
        case '\n': return "\\n";
        case '\r': return "\\r";
        case '\t': return "\\t";
        case '\b': return "\\b";
        case '\f': return "\\f";
        default:
            if (c >= 0x20) return nullptr;
            std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
            return buffer;
    }
}

// The bytes that need no escape are appended in runs.
void AppendJsonString(std::string& out, std::string_view utf8) {
    out += '"';
    size_t run = 0;
    for (size_t i = 0; i < utf8.size(); ++i) {
        char buffer[8];
        const char* escaped = Escape(static_cast<unsigned char>(utf8[i]), buffer);
        if (!escaped) continue;
        out.append(utf8, run, i - run);
        out += escaped;
        run = i + 1;
    }
    out.append(utf8, run);
    out += '"';
}

// A record's text as HostText gives it; plain ASCII needs no conversion.
void AppendHostText(std::string& out, const std::string& recordText) {
    const std::string_view text(recordText.c_str());
    if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        AppendJsonString(out, text);
    else
        AppendJsonString(out, HostText(recordText));
}

void AppendMember(std::string& out, const char* indent, const char* name, const std::string& recordText,
                  bool last) {
    out += indent;
    AppendJsonString(out, name);
    out += ": ";
    AppendHostText(out, recordText);
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
    out.reserve(2048 * reports.size());
    for (size_t r = 0; r < reports.size(); ++r) {
        const FileReport& report = reports[r];
        out += r == 0 ? "\n  {\n" : ",\n  {\n";
        out += "    \"file\": ";
        AppendJsonString(out, SanitizeUtf8(report.file));
        out += ",\n";
        AppendMember(out, "    ", "typetag", report.typetag, false);
        AppendMember(out, "    ", "title", report.title, false);
        out += "    \"sound\": {\n";
        for (size_t i = 0; i < Tinfosound::kFieldCount; ++i)
            AppendMember(out, "      ", Tinfosound::kNames[i], report.sound.*Tinfosound::kFields[i],
                         i + 1 == Tinfosound::kFieldCount);
        out += "    },\n    \"tag\": {\n";
        for (size_t i = 0; i < Tinfotag::kNamedCount; ++i)
            AppendMember(out, "      ", Tinfotag::kNamed[i].name, report.tag.*Tinfotag::kNamed[i].field,
                         i + 1 == Tinfotag::kNamedCount);
        out += "    }\n  }";
    }
    out += reports.empty() ? "]\n" : "\n]\n";
    return out;
}

}  // namespace qel
