#include "platform/IniText.h"

#include <cctype>
#include <vector>

#include "platform/IniFile.h"

namespace qel {
namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// A line of the file without its line end, and where it starts and ends.
struct Line {
    std::string_view text;
    size_t begin, end;  // end: just past the line end
};

std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t stop = text.find_first_of("\r\n", pos);
        size_t next;
        if (stop == std::string_view::npos) {
            stop = next = text.size();
        } else {
            next = stop + 1;
            if (text[stop] == '\r' && next < text.size() && text[next] == '\n') ++next;
        }
        lines.push_back({text.substr(pos, stop - pos), pos, next});
        pos = next;
    }
    return lines;
}

// The section name of a "[name]" line, if it is one.
std::optional<std::string_view> SectionName(std::string_view line) {
    line = Trim(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    size_t close = line.find(']');
    if (close == std::string_view::npos) return Trim(line.substr(1));
    return Trim(line.substr(1, close - 1));
}

// Splits "key=value"; nullopt when the line has no "=".
std::optional<std::pair<std::string_view, std::string_view>> KeyValue(std::string_view line) {
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    return std::make_pair(Trim(line.substr(0, eq)), Trim(line.substr(eq + 1)));
}

}  // namespace

std::optional<std::string> IniLookup(std::string_view text, std::string_view section, std::string_view key) {
    bool inSection = false;
    for (const Line& line : SplitLines(text)) {
        if (auto name = SectionName(line.text)) {
            inSection = SameName(*name, Trim(section));
            continue;
        }
        if (!inSection) continue;
        auto kv = KeyValue(line.text);
        if (!kv || !SameName(kv->first, Trim(key))) continue;
        std::string_view value = kv->second;
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        return std::string(value.substr(0, kIniValueMax));
    }
    return std::nullopt;
}

std::string IniAssign(std::string_view text, std::string_view section, std::string_view key,
                      std::string_view value) {
    const std::string newLine = std::string(Trim(key)) + "=" + std::string(value) + "\r\n";
    std::vector<Line> lines = SplitLines(text);
    bool inSection = false;
    size_t insertAt = std::string_view::npos;  // after the last non-blank line of the section
    for (const Line& line : lines) {
        if (auto name = SectionName(line.text)) {
            if (inSection) break;
            inSection = SameName(*name, Trim(section));
            if (inSection) insertAt = line.end;
            continue;
        }
        if (!inSection) continue;
        auto kv = KeyValue(line.text);
        if (kv && SameName(kv->first, Trim(key)))
            return std::string(text.substr(0, line.begin)) + newLine + std::string(text.substr(line.end));
        if (!Trim(line.text).empty()) insertAt = line.end;
    }
    std::string result(text);
    if (insertAt != std::string_view::npos) {
        std::string before = result.substr(0, insertAt);
        if (!before.empty() && before.back() != '\n' && before.back() != '\r') before += "\r\n";
        return before + newLine + result.substr(insertAt);
    }
    if (!result.empty() && result.back() != '\n' && result.back() != '\r') result += "\r\n";
    return result + "[" + std::string(Trim(section)) + "]\r\n" + newLine;
}

}  // namespace qel
