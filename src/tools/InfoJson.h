#pragma once
// qelinfo's JSON output.
#include <string>
#include <string_view>
#include <vector>

#include "tools/InfoRead.h"

namespace qel {

// A JSON string literal, quotes included.
std::string JsonString(std::string_view utf8);

// One JSON array of objects with "file", "typetag", "title", "sound" (all
// fields in record order) and "tag" (the named fields in slot order).
std::string JsonReport(const std::vector<FileReport>& reports);

// The same array written a file at a time: each report's object (the first
// one opens the array), then the end (an empty array when there was none).
void AppendJsonReport(std::string& out, const FileReport& report, bool first);
void AppendJsonEnd(std::string& out, bool empty);

}  // namespace qel
