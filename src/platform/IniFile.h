#pragma once
// Initialisation files with the Windows profile rules: sections and keys
// matched without case, blanks around keys and values ignored, a value read
// is at most 2047 characters.
#include <string>

namespace qel {

class IniFiles {
public:
    virtual ~IniFiles() = default;
    // The value of key in section of file, or def when the file, section or
    // key is missing.
    virtual std::string ReadString(const std::string& file, const std::string& section,
                                   const std::string& key, const std::string& def) = 0;
    // Writes or replaces the key, creating the file and section as needed;
    // false when the write is refused.
    virtual bool WriteString(const std::string& file, const std::string& section,
                             const std::string& key, const std::string& value) = 0;
};

// The system's profile API on Windows; a portable file implementation elsewhere.
IniFiles& SystemIniFiles();

constexpr size_t kIniValueMax = 2047;

}  // namespace qel
