#include "support/MemoryIniFiles.h"

#include "platform/IniText.h"

namespace qel {

std::string MemoryIniFiles::ReadString(const std::string& file, const std::string& section,
                                       const std::string& key, const std::string& def) {
    auto found = texts.find(file);
    if (found == texts.end()) return def.substr(0, kIniValueMax);
    return IniLookup(found->second, section, key).value_or(def.substr(0, kIniValueMax));
}

bool MemoryIniFiles::WriteString(const std::string& file, const std::string& section, const std::string& key,
                                 const std::string& value) {
    if (readOnly.count(file)) return false;
    ++writes;
    texts[file] = IniAssign(texts[file], section, key, value);
    return true;
}

}  // namespace qel
