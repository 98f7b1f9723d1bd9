#pragma once
// qelhost's scripts: one host action per line, "${NAME}" replaced by a
// variable of the run or of the environment. See README.md for the words.
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace qel::host {

struct Action {
    int line = 0;
    std::string verb;
    std::string rest;               // the text after the verb and one blank
    std::vector<std::string> args;  // rest split at blanks
};

// The words a script may use and how many arguments each takes (-1: the rest of the line as one text).
struct VerbRule {
    const char* verb;
    int arguments;
};
const std::vector<VerbRule>& Verbs();

// "${NAME}" replaced by variables[NAME], else the environment's NAME, else
// the empty text; false in error when a "${" is not closed.
std::optional<std::string> Expand(const std::string& text, const std::map<std::string, std::string>& variables,
                                  std::string& error);

// The actions of a script; false with "line N: reason" in error for an
// unknown word or a wrong number of arguments.
std::optional<std::vector<Action>> ParseScript(const std::string& text,
                                               const std::map<std::string, std::string>& variables,
                                               std::string& error);

}  // namespace qel::host
