#include "tools/InfoOptions.h"

namespace qel {
namespace {

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

const char kInfoUsage[] = "usage: qelinfo [--json] [--codepage N] [--cdplayer FILE] FILE...";

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
