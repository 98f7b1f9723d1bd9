#include "tools/InfoRead.h"

#include "player/FileInfoDispatch.h"

namespace qel {

FileReport ReportReader::Read(const std::string& path, std::string displayPath) {
    FileReport report;
    report.file = std::move(displayPath);
    RequestFiles request(files_, &buffers_);
    FileInfoDispatch dispatch(request);
    // The dispatch opens first, so that the open its readers need (some deny
    // writers) is the one open of the file; the check below reuses it.
    dispatch.ReadFileInfo(path);
    if (!request.OpenRead(path, ShareMode::AllowWriters, &report.error)) {
        if (report.error.empty()) report.error = "cannot open the file";
        report.typetag = "notag";
        return report;
    }
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
