#pragma once
// The text of an initialisation file, read and edited with the profile rules:
// sections and keys matched without case, blanks around names and values
// ignored, one pair of surrounding quotes removed from a value, the first
// match wins, values cut to 2047 characters.
#include <optional>
#include <string>
#include <string_view>

namespace qel {

std::optional<std::string> IniLookup(std::string_view text, std::string_view section, std::string_view key);

// The text with key set to value in section (added at the section's end, or
// a new section at the end of the file); lines are written with CR LF.
std::string IniAssign(std::string_view text, std::string_view section, std::string_view key,
                      std::string_view value);

}  // namespace qel
