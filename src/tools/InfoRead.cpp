#include "tools/InfoRead.h"

#include "player/FileInfoDispatch.h"

namespace qel {

FileReport ReportReader::Read(const std::string& path, std::string displayPath) {
    FileReport report;
    report.file = std::move(displayPath);
    RequestFiles request(files_, &buffers_);
    if (!request.OpenRead(path, ShareMode::AllowWriters, &report.error)) {
        if (report.error.empty()) report.error = "cannot open the file";
        report.typetag = "notag";
        return report;
    }
    FileInfoDispatch dispatch(request);
    dispatch.ReadFileInfo(path);
    report.typetag = std::move(dispatch.TagType);
    report.title = dispatch.FileTitle(path);
    report.sound = std::move(dispatch.Sound);
    report.tag = std::move(dispatch.Tags);
    return report;
}

FileReport ReadReport(FileOpener& files, const std::string& path, std::string displayPath) {
    return ReportReader(files).Read(path, std::move(displayPath));
}

}  // namespace qel
