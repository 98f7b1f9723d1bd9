#include "tools/HostScript.h"

#include <cstdlib>
#include <sstream>

namespace qel::host {

const std::vector<VerbRule>& Verbs() {
    static const std::vector<VerbRule> kVerbs{
        {"parent", 0},      {"draw", 5},          {"setdata", 1},     {"setfile", -1},    {"setpath", -1},
        {"call", 1},        {"callord", 1},       {"getdata", 0},     {"getfile", 0},     {"expectdata", 1},
        {"expectfile", -1}, {"expectfilehas", -1}, {"fields", -1},     {"print", -1},      {"info", 0},
        {"wait", 1},        {"waitclick", 1},     {"expectclick", 2}, {"closeboxes", 0},  {"expectbox", -1},
        {"expectbytes", -1}, {"expectnofile", -1}, {"expectexists", -1}, {"writelines", -1}, {"screenshot", -1},
        {"deletefile", -1}, {"expectcontains", -1}, {"writewav", 3},
        {"expectpicture", -1}, {"destroy", 0},
    };
    return kVerbs;
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
        const VerbRule* rule = nullptr;
        for (const VerbRule& candidate : Verbs())
            if (action.verb == candidate.verb) rule = &candidate;
        if (!rule) {
            error = "line " + std::to_string(number) + ": unknown word \"" + action.verb + "\"";
            return std::nullopt;
        }
        if (rule->arguments >= 0 && int(action.args.size()) != rule->arguments) {
            error = "line " + std::to_string(number) + ": \"" + action.verb + "\" takes " +
                    std::to_string(rule->arguments) + " argument(s)";
            return std::nullopt;
        }
        actions.push_back(std::move(action));
    }
    return actions;
}

}  // namespace qel::host
