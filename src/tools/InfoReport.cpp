#include "tools/InfoReport.h"

#include <cstdio>

#include "platform/CodePage.h"
#include "player/FileInfoDispatch.h"

namespace qel {
namespace {

// A view of a file that is open elsewhere, with a position of its own.
class SharedView final : public PositionedFile {
public:
    explicit SharedView(BinaryFile& file) : file_(file) {}
    int64_t Size() const override { return file_.Size(); }
    size_t Read(void* buffer, size_t count) override {
        if (!file_.Seek(position_)) return 0;
        size_t got = file_.Read(buffer, count);
        position_ += static_cast<int64_t>(got);
        return got;
    }

private:
    BinaryFile& file_;
};

// Serves every open of one path from a file opened beforehand; other paths
// go to the system.
class PreopenedFile final : public FileOpener {
public:
    PreopenedFile(const std::string& path, BinaryFile& file, FileOpener& others)
        : path_(path), file_(file), others_(others) {}
    std::unique_ptr<BinaryFile> OpenRead(const std::string& path, ShareMode share,
                                         std::string* reason) override {
        if (path == path_) return std::make_unique<SharedView>(file_);
        return others_.OpenRead(path, share, reason);
    }

private:
    std::string path_;
    BinaryFile& file_;
    FileOpener& others_;
};

std::string Line(const char* name, const std::string& value) {
    std::string line = name;
    line += ':';
    if (!value.empty()) line += ' ' + value;
    line += '\n';
    return line;
}

void AppendMember(std::string& out, const char* indent, const char* name, const std::string& utf8,
                  bool last) {
    out += indent;
    out += JsonString(name);
    out += ": ";
    out += JsonString(utf8);
    out += last ? "\n" : ",\n";
}

bool ParseCodePage(const std::string& text, unsigned& number) {
    if (text.empty() || text.size() > 5) return false;
    unsigned value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value == 0 || value > 65535) return false;
    number = value;
    return true;
}

}  // namespace

const char kInfoUsage[] = "usage: qelinfo [--json] [--codepage N] [--cdplayer FILE] FILE...";

FileReport ReadReport(FileOpener& files, const std::string& path, std::string displayPath) {
    FileReport report;
    report.file = std::move(displayPath);
    auto file = files.OpenRead(path, ShareMode::AllowWriters, &report.error);
    if (!file) {
        if (report.error.empty()) report.error = "cannot open the file";
        report.typetag = "notag";
        return report;
    }
    PreopenedFile shared(path, *file, files);
    FileInfoDispatch dispatch(shared);
    dispatch.ReadFileInfo(path);
    report.typetag = dispatch.TagType;
    report.title = dispatch.FileTitle(path);
    report.sound = dispatch.Sound;
    report.tag = dispatch.Tags;
    return report;
}

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

std::string JsonString(std::string_view utf8) {
    std::string out = "\"";
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

namespace {

// The value of option `name` given as "name value" or "name=value"; nullopt
// when args[i] is another option, or (with `error` set) when the value is missing.
std::optional<std::string> OptionValue(const std::vector<std::string>& args, size_t& i, const std::string& name,
                                       const char* what, std::string& error) {
    const std::string& arg = args[i];
    if (arg.rfind(name + "=", 0) == 0) return arg.substr(name.size() + 1);
    if (arg != name) return std::nullopt;
    if (i + 1 == args.size()) {
        error = name + " needs " + what;
        return std::nullopt;
    }
    return args[++i];
}

}  // namespace

std::optional<InfoOptions> ParseInfoArguments(const std::vector<std::string>& args, std::string& error) {
    InfoOptions options;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            options.files.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--json") {
            options.json = true;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (const auto value = OptionValue(args, i, "--codepage", "a number", error)) {
            unsigned number = 0;
            if (!ParseCodePage(*value, number)) {
                error = "invalid code page: " + *value;
                return std::nullopt;
            }
            options.codePage = number;
        } else if (const auto value = OptionValue(args, i, "--cdplayer", "a file", error)) {
            options.cdPlayerDatabase = *value;
        } else if (!error.empty()) {
            return std::nullopt;
        } else {
            error = "unknown option: " + arg;
            return std::nullopt;
        }
    }
    if (!options.help && options.files.empty()) {
        error = "no files given";
        return std::nullopt;
    }
    return options;
}

}  // namespace qel
