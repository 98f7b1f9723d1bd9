#pragma once
// A file name as an input module takes it: the 8-bit text as it is, or, for
// a module whose version field asks for wide names, the text converted from
// the system code page to 16 bits. Modules get a writable, zero-terminated
// copy that lives as long as this object.
#include <string>
#include <vector>

#include "player/ModuleRecords.h"

namespace qel {

class ModuleFileName {
public:
    ModuleFileName(const InModule& module, const std::string& file);
    // What to pass as the module's file argument (a char16_t text for wide modules).
    char* get() { return wide_.empty() ? narrow_.data() : reinterpret_cast<char*>(wide_.data()); }

private:
    std::vector<char> narrow_;
    std::vector<char16_t> wide_;
};

}  // namespace qel
