#pragma once
// The per-file work of qelinfo: what the plug-in reads from one file.
#include <memory>
#include <string>

#include "platform/BinaryFile.h"
#include "player/FileInfoDispatch.h"
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

// Serves every open of the current path from a file opened beforehand;
// other paths go to `others`.
class PreopenedFile final : public FileOpener {
public:
    explicit PreopenedFile(FileOpener& others) : others_(others) {}
    void Set(const std::string& path, BinaryFile* file) {
        path_ = path;
        file_ = file;
    }
    std::unique_ptr<BinaryFile> OpenRead(const std::string& path, ShareMode share,
                                         std::string* reason = nullptr) override;

private:
    std::string path_;
    BinaryFile* file_ = nullptr;
    FileOpener& others_;
};

// Reads reports one file after another, each file opened once through
// `files`; what a read needs besides (block buffers) is kept for the next.
class ReportReader {
public:
    explicit ReportReader(FileOpener& files) : files_(files), opened_(files), dispatch_(opened_) {}
    // Runs the file-information dispatch and the display title over one file.
    FileReport Read(const std::string& path, std::string displayPath);

private:
    FileOpener& files_;
    PreopenedFile opened_;
    FileInfoDispatch dispatch_;
};

// One file's report read by a reader of its own.
FileReport ReadReport(FileOpener& files, const std::string& path, std::string displayPath);

}  // namespace qel
