#pragma once
// qelinfo's command line.
#include <optional>
#include <string>
#include <vector>

namespace qel {

struct InfoOptions {
    bool json = false;
    bool help = false;
    std::optional<unsigned> codePage;
    std::optional<std::string> cdPlayerDatabase;  // "cdplayer.ini" for ".cda" files
    std::vector<std::string> files;
};

// Parses the arguments after the program name; nullopt with `error` set for
// a usage error.
std::optional<InfoOptions> ParseInfoArguments(const std::vector<std::string>& args, std::string& error);

extern const char kInfoUsage[];

}  // namespace qel
