#pragma once
// qelhost's scripts: one host action per line, "${NAME}" replaced by a
// variable of the run or of the environment. The actions are listed once,
// in HostActions.inc.
#include <cstddef>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qel::host {

// One row of HostActions.inc.
struct ActionRule {
    const char* word;
    int arguments;  // -1: the rest of the line as one text
    const char* usage;
    const char* help;
};
std::span<const ActionRule> ActionRules();

// The action table of README.md: a header row and one row per action.
std::string ActionTable();

struct Action {
    size_t kind = 0;  // index into ActionRules()
    int line = 0;
    std::string verb;
    std::string rest;               // the text after the verb and one blank
    std::vector<std::string> args;  // rest split at blanks
};

// "${NAME}" replaced by variables[NAME], else the environment's NAME, else
// the empty text; nothing, with the reason in error, when a "${" is not closed.
std::optional<std::string> Expand(const std::string& text, const std::map<std::string, std::string>& variables,
                                  std::string& error);

// The actions of a script; nothing, with "line N: reason" in error, for an
// unknown word or a wrong number of arguments.
std::optional<std::vector<Action>> ParseScript(const std::string& text,
                                               const std::map<std::string, std::string>& variables,
                                               std::string& error);

}  // namespace qel::host
