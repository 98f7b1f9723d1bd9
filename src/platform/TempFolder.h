#pragma once
#include <string>

namespace qel {
// The folder the system reports as temporary, with its trailing separator.
std::string TempFolder();
}  // namespace qel
