#pragma once
#include <string>

namespace qel {
// The system's message for GetLastError(), without the trailing line break.
std::string LastErrorText();
}  // namespace qel
