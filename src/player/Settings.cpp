#include "player/Settings.h"

#include "platform/IniInteger.h"

namespace qel {

int32_t ProfileFile::ReadInteger(const std::string& section, const std::string& key, int32_t def) const {
    std::string text = ini_.ReadString(path_, section, key, "");
    return IniInteger(text, kHexDollar | kHexX | kHexZeroX).value_or(def);
}

void ProfileFile::WriteInteger(const std::string& section, const std::string& key, int32_t value) {
    if (!ini_.WriteString(path_, section, key, std::to_string(value))) throw SettingsWriteError(path_);
}

}  // namespace qel
