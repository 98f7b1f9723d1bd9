#pragma once
// Integer settings kept in initialisation files.
#include <cstdint>
#include <stdexcept>
#include <string>

#include "platform/IniFile.h"

namespace qel {

// A write that the system refused.
class SettingsWriteError : public std::runtime_error {
public:
    explicit SettingsWriteError(const std::string& path) : std::runtime_error("Unable to write to " + path) {}
};

// One initialisation file by path; every write reaches the file at once.
class ProfileFile {
public:
    ProfileFile(IniFiles& ini, std::string path) : ini_(ini), path_(std::move(path)) {}

    const std::string& Path() const { return path_; }
    // The integer under section and key, or def when it is missing or not a number.
    int32_t ReadInteger(const std::string& section, const std::string& key, int32_t def) const;
    // Writes the value as decimal text; throws SettingsWriteError when refused.
    void WriteInteger(const std::string& section, const std::string& key, int32_t value);

private:
    IniFiles& ini_;
    std::string path_;
};

}  // namespace qel
