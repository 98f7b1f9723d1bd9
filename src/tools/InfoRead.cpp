#include "tools/InfoRead.h"

namespace qel {
namespace {

// A view of a file that is open elsewhere, with a position of its own.
class SharedView final : public PositionedFile {
public:
    explicit SharedView(BinaryFile& file) : file_(file) {}
    int64_t Size() const override { return file_.Size(); }
    size_t Read(void* buffer, size_t count) override {
        if (!file_.Seek(position_)) return 0;
        size_t got = file_.Read(buffer, count);
        position_ += static_cast<int64_t>(got);
        return got;
    }

private:
    BinaryFile& file_;
};

}  // namespace

std::unique_ptr<BinaryFile> PreopenedFile::OpenRead(const std::string& path, ShareMode share, std::string* reason) {
    if (file_ && path == path_) return std::make_unique<SharedView>(*file_);
    return others_.OpenRead(path, share, reason);
}

FileReport ReportReader::Read(const std::string& path, std::string displayPath) {
    FileReport report;
    report.file = std::move(displayPath);
    auto file = files_.OpenRead(path, ShareMode::AllowWriters, &report.error);
    if (!file) {
        if (report.error.empty()) report.error = "cannot open the file";
        report.typetag = "notag";
        return report;
    }
    opened_.Set(path, file.get());
    dispatch_.ReadFileInfo(path);
    report.typetag = dispatch_.TagType;
    report.title = dispatch_.FileTitle(path);
    report.sound = dispatch_.Sound;
    report.tag = dispatch_.Tags;
    opened_.Set({}, nullptr);
    return report;
}

FileReport ReadReport(FileOpener& files, const std::string& path, std::string displayPath) {
    return ReportReader(files).Read(path, std::move(displayPath));
}

}  // namespace qel
