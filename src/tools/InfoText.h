#pragma once
// qelinfo's text output, and record texts as a host sees them.
#include <string>
#include <string_view>

#include "tools/InfoRead.h"

namespace qel {

// A record's text as a host sees it through a C string (cut at its first
// zero byte), converted from the 8-bit code page to UTF-8.
std::string HostText(const std::string& recordText);

// Valid UTF-8: malformed sequences become U+FFFD.
std::string SanitizeUtf8(std::string_view text);

// "file: PATH", "typetag: ...", "title: ...", then every non-empty field as
// "name: value" in record order.
std::string TextReport(const FileReport& report);

}  // namespace qel
