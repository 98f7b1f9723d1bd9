#pragma once
#include <string>

namespace qel {

// The input module file name for a lower-case extension (dot included) and
// the file's format word; empty when no module plays it. MP3 and WAV files
// go to the module that matches what the file really holds.
std::string InputModuleFor(const std::string& extension, const std::string& tagType);

}  // namespace qel
