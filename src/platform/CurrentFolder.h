#pragma once
#include <string>

namespace qel {
// The process's current directory (empty when the system cannot tell).
std::string CurrentFolder();
}  // namespace qel
