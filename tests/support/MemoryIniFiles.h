#pragma once
// Initialisation files held in memory, for tests: same rules as the real ones,
// and writes to chosen files can be refused.
#include <map>
#include <set>
#include <string>

#include "platform/IniFile.h"

namespace qel {

class MemoryIniFiles final : public IniFiles {
public:
    std::string ReadString(const std::string& file, const std::string& section, const std::string& key,
                           const std::string& def) override;
    bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override;

    // The whole text of each file, as written.
    std::map<std::string, std::string> texts;
    // Files whose writes are refused.
    std::set<std::string> readOnly;
    int writes = 0;
};

}  // namespace qel
