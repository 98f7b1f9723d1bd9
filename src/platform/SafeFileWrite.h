#pragma once
// Replacing a file without ever losing it: the new contents go to a
// temporary file beside the target, which replaces the target only when it
// was written completely. On failure the target is left as it was.
#include <string>
#include <string_view>

namespace qel {

bool ReplaceFileContents(const std::string& path, std::string_view contents, std::string* reason = nullptr);

}  // namespace qel
