#pragma once
// What qelinfo prints for a file: its format word, display title and both
// information records, as text or as JSON, and its command line.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/BinaryFile.h"
#include "readers/virtualtag.h"

namespace qel {

struct FileReport {
    std::string file;  // the path as given, UTF-8
    std::string typetag;
    std::string title;
    Tinfosound sound;
    Tinfotag tag;
    std::string error;  // why the file could not be read; empty when it could
};

// Runs the file-information dispatch and the display title over one file,
// opening it once through `files`.
FileReport ReadReport(FileOpener& files, const std::string& path, std::string displayPath);

// A record's text as a host sees it through a C string (cut at its first
// zero byte), converted from the 8-bit code page to UTF-8.
std::string HostText(const std::string& recordText);

// Valid UTF-8: malformed sequences become U+FFFD.
std::string SanitizeUtf8(std::string_view text);

// A JSON string literal, quotes included.
std::string JsonString(std::string_view utf8);

// "file: PATH", "typetag: ...", "title: ...", then every non-empty field as
// "name: value" in record order.
std::string TextReport(const FileReport& report);

// One JSON array of objects with "file", "typetag", "title", "sound" (all
// fields in record order) and "tag" (the named fields in slot order).
std::string JsonReport(const std::vector<FileReport>& reports);

struct InfoOptions {
    bool json = false;
    bool help = false;
    std::optional<unsigned> codePage;
    std::optional<std::string> cdPlayerDatabase;  // "cdplayer.ini" for ".cda" files
    std::vector<std::string> files;
};

// Parses the arguments after the program name; nullopt with `error` set for
// a usage error.
std::optional<InfoOptions> ParseInfoArguments(const std::vector<std::string>& args, std::string& error);

extern const char kInfoUsage[];

}  // namespace qel
