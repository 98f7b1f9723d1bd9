// Initialisation files through the Windows profile API.
#include <windows.h>

#include "platform/IniFile.h"

namespace qel {
namespace {

class Win32IniFiles final : public IniFiles {
public:
    std::string ReadString(const std::string& file, const std::string& section, const std::string& key,
                           const std::string& def) override {
        char buffer[kIniValueMax + 1] = {};
        DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buffer, sizeof buffer,
                                           file.c_str());
        return std::string(buffer, n);
    }

    bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override {
        return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != 0;
    }
};

}  // namespace

IniFiles& SystemIniFiles() {
    static Win32IniFiles files;
    return files;
}

}  // namespace qel
