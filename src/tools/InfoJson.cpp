#include "tools/InfoJson.h"

#include <algorithm>
#include <array>
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

// Bytes that stand in a JSON string as they are and need no conversion from
// the code page: printable ASCII but the quote and the backslash.
constexpr std::array<bool, 256> kPlain = [] {
    std::array<bool, 256> plain{};
    for (int c = 0x20; c < 0x80; ++c) plain[c] = c != '"' && c != '\\';
    return plain;
}();

bool AllPlain(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return kPlain[static_cast<unsigned char>(c)]; });
}

// The fixed text around one member's value: `"name": "` before it, `",`
// and a line feed after it (no comma after the last), and the whole line
// of an empty value.
struct MemberText {
    std::string before, after, empty;
    MemberText(std::string_view indent, std::string_view name, bool last)
        : before(std::string(indent) + '"' + std::string(name) + "\": \""), after(last ? "\"\n" : "\",\n"),
          empty(before + after) {}
};

// A record's text as HostText gives it.
void AppendMember(std::string& out, const MemberText& member, const std::string& recordText) {
    const std::string_view text(recordText.c_str());
    if (text.empty()) {
        out += member.empty;
    } else if (AllPlain(text)) {
        out += member.before;
        out += text;
        out += member.after;
    } else {
        // Quotes come with the escaped string.
        out.append(member.before, 0, member.before.size() - 1);
        const bool ascii =
            std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        AppendJsonString(out, ascii ? std::string(text) : HostText(recordText));
        out.append(member.after, 1);
    }
}

// The members of a file's object in order: typetag and title, the sound
// record, the tag record.
template <size_t Count, class Name>
std::vector<MemberText> RecordMembers(Name name) {
    std::vector<MemberText> members;
    for (size_t i = 0; i < Count; ++i) members.emplace_back("      ", name(i), i + 1 == Count);
    return members;
}
const std::vector<MemberText>& SoundMembers() {
    static const auto members = RecordMembers<Tinfosound::kFieldCount>([](size_t i) { return Tinfosound::kNames[i]; });
    return members;
}
const std::vector<MemberText>& TagMembers() {
    static const auto members = RecordMembers<Tinfotag::kNamedCount>([](size_t i) { return Tinfotag::kNamed[i].name; });
    return members;
}

}  // namespace

std::string JsonString(std::string_view utf8) {
    std::string out;
    AppendJsonString(out, utf8);
    return out;
}

void AppendJsonReport(std::string& out, const FileReport& report, bool first) {
    out += first ? "[\n  {\n" : ",\n  {\n";
    out += "    \"file\": ";
    AppendJsonString(out, AllPlain(report.file) ? report.file : SanitizeUtf8(report.file));
    out += ",\n";
    static const MemberText typetag("    ", "typetag", false);
    static const MemberText title("    ", "title", false);
    AppendMember(out, typetag, report.typetag);
    AppendMember(out, title, report.title);
    out += "    \"sound\": {\n";
    const auto& sound = SoundMembers();
    for (size_t i = 0; i < Tinfosound::kFieldCount; ++i)
        AppendMember(out, sound[i], report.sound.*Tinfosound::kFields[i]);
    out += "    },\n    \"tag\": {\n";
    const auto& tag = TagMembers();
    for (size_t i = 0; i < Tinfotag::kNamedCount; ++i) AppendMember(out, tag[i], report.tag.*Tinfotag::kNamed[i].field);
    out += "    }\n  }";
}

void AppendJsonEnd(std::string& out, bool empty) { out += empty ? "[]\n" : "\n]\n"; }

std::string JsonReport(const std::vector<FileReport>& reports) {
    std::string out;
    for (size_t r = 0; r < reports.size(); ++r) AppendJsonReport(out, reports[r], r == 0);
    AppendJsonEnd(out, reports.empty());
    return out;
}

}  // namespace qel
