#pragma once
#include <string>

namespace qel {
// The folder the system reports as temporary, with its trailing separator.
std::string TempFolder();
// Creates the folder, and the folders above it, when missing; true when it exists afterwards.
bool EnsureFolder(const std::string& folder);
}  // namespace qel
