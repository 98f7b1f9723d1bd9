// Initialisation files outside Windows: read and rewritten whole with the
// profile rules of IniText.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/IniFile.h"
#include "platform/IniText.h"

namespace qel {
namespace {

class PosixIniFiles final : public IniFiles {
public:
    std::string ReadString(const std::string& file, const std::string& section, const std::string& key,
                           const std::string& def) override {
        std::ifstream in(file, std::ios::binary);
        if (!in) return def.substr(0, kIniValueMax);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        return IniLookup(text, section, key).value_or(def.substr(0, kIniValueMax));
    }

    bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override {
        std::string text;
        {
            std::ifstream in(file, std::ios::binary);
            if (in) text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        std::string updated = IniAssign(text, section, key, value);
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(updated.data(), static_cast<std::streamsize>(updated.size()));
        out.close();
        return static_cast<bool>(out);
    }
};

}  // namespace

IniFiles& SystemIniFiles() {
    static PosixIniFiles files;
    return files;
}

}  // namespace qel
