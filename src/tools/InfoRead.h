#pragma once
// The per-file work of qelinfo: what the plug-in reads from one file.
#include <string>

#include "platform/BinaryFile.h"
#include "platform/RequestFiles.h"
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

// Reads reports one file after another. Each file is opened once through
// `files` and each of its blocks read once for both requests of its report;
// the block buffers are kept for the next file.
class ReportReader {
public:
    explicit ReportReader(FileOpener& files) : files_(files) {}
    // Runs the file-information dispatch and the display title over one file.
    FileReport Read(const std::string& path, std::string displayPath);

private:
    FileOpener& files_;
    BlockBuffers buffers_;
};

// One file's report read by a reader of its own.
FileReport ReadReport(FileOpener& files, const std::string& path, std::string displayPath);

}  // namespace qel
