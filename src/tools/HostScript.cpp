#include "tools/HostScript.h"

#include <cstdlib>
#include <sstream>

namespace qel::host {

namespace {

constexpr ActionRule kRules[] = {
#define QEL_ACTION(word, arguments, usage, help) {#word, arguments, usage, help},
#include "tools/HostActions.inc"
#undef QEL_ACTION
};

// A table cell: "|" would end the cell.
std::string Cell(const char* text) {
    std::string out;
    for (const char* c = text; *c; ++c) {
        if (*c == '|') out += '\\';
        out += *c;
    }
    return out;
}

}  // namespace

std::span<const ActionRule> ActionRules() { return kRules; }

std::string ActionTable() {
    std::string table = "| action | what it does |\n|---|---|\n";
    for (const ActionRule& rule : kRules) table += "| `" + Cell(rule.usage) + "` | " + Cell(rule.help) + " |\n";
    return table;
}

std::optional<std::string> Expand(const std::string& text, const std::map<std::string, std::string>& variables,
                                  std::string& error) {
    std::string out;
    size_t at = 0;
    while (at < text.size()) {
        const size_t open = text.find("${", at);
        if (open == std::string::npos) {
            out += text.substr(at);
            break;
        }
        const size_t close = text.find('}', open + 2);
        if (close == std::string::npos) {
            error = "unclosed \"${\"";
            return std::nullopt;
        }
        out += text.substr(at, open - at);
        const std::string name = text.substr(open + 2, close - open - 2);
        if (auto found = variables.find(name); found != variables.end())
            out += found->second;
        else if (const char* value = std::getenv(name.c_str()))
            out += value;
        at = close + 1;
    }
    return out;
}

std::optional<std::vector<Action>> ParseScript(const std::string& text,
                                               const std::map<std::string, std::string>& variables,
                                               std::string& error) {
    std::vector<Action> actions;
    std::istringstream lines(text);
    std::string raw;
    for (int number = 1; std::getline(lines, raw); ++number) {
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        const size_t first = raw.find_first_not_of(" \t");
        if (first == std::string::npos || raw[first] == '#') continue;
        std::string reason;
        auto line = Expand(raw.substr(first), variables, reason);
        if (!line) {
            error = "line " + std::to_string(number) + ": " + reason;
            return std::nullopt;
        }
        Action action;
        action.line = number;
        const size_t blank = line->find(' ');
        action.verb = line->substr(0, blank);
        action.rest = blank == std::string::npos ? "" : line->substr(blank + 1);
        std::istringstream words(action.rest);
        for (std::string word; words >> word;) action.args.push_back(word);
        const ActionRule* rule = nullptr;
        for (const ActionRule& candidate : kRules)
            if (action.verb == candidate.word) rule = &candidate;
        if (!rule) {
            error = "line " + std::to_string(number) + ": unknown word \"" + action.verb + "\"";
            return std::nullopt;
        }
        if (rule->arguments >= 0 && int(action.args.size()) != rule->arguments) {
            error = "line " + std::to_string(number) + ": \"" + action.verb + "\" takes " +
                    std::to_string(rule->arguments) + " argument(s)";
            return std::nullopt;
        }
        action.kind = size_t(rule - kRules);
        actions.push_back(std::move(action));
    }
    return actions;
}

}  // namespace qel::host
