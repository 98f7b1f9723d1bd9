#pragma once
// Picks the analyser for a file by its extension and fills the information
// records, the format word and the display title from it.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/BinaryFile.h"
#include "platform/RequestFiles.h"
#include "readers/virtualtag.h"

namespace qel {

// One analyser of a dispatch row and the format word it earns.
struct DispatchAnalyser {
    std::unique_ptr<Ttag> (*create)(FileOpener& files);
    const char* tagType;
};

// How ReadFileInfo drives the analysers of a row.
enum class ReadSequence {
    Standard,        // Open, ReadInfo, fills
    ReadInfoFirst,   // ReadInfo, Open, ReadInfo, fills
    OpenOnly,        // Open, fills (the analyser has no ReadInfo of its own)
};

struct DispatchRow {
    std::vector<std::string_view> extensions;       // lower case, dot included
    std::vector<std::string_view> titleExtensions;  // those FileTitle uses the row for
    std::vector<DispatchAnalyser> analysers;         // tried in order
    ReadSequence sequence;
};

// The table of every format; extensions are disjoint between rows.
const std::vector<DispatchRow>& DispatchTable();

template <class Analyser>
std::unique_ptr<Ttag> MakeAnalyser(FileOpener& files) {
    return std::make_unique<Analyser>(files);
}

// The extension of the last path component from its last "." on, lower case;
// empty when there is none.
std::string LowerExtension(const std::string& fileName);

// The records and format word of the last file read, and the operations
// that fill them. The player component holds one of these.
class FileInfoDispatch {
public:
    explicit FileInfoDispatch(FileOpener& files = SystemFiles()) : files_(&files) {}

    bool ReadFileInfo(const std::string& fileName);
    std::string FileTitle(const std::string& fileName) const;
    void ClearInfo();

    Tinfosound Sound;
    Tinfotag Tags;
    std::string TagType;

private:
    FileOpener& RequestOpener(std::optional<RequestFiles>& own) const;
    Ttag* Analyser(const DispatchAnalyser& choice, FileOpener& files) const;
    void ReleaseAnalysers() const;

    FileOpener* files_;
    mutable BlockBuffers buffers_;  // reused by every request
    using Kept = std::pair<std::unique_ptr<Ttag> (*)(FileOpener&), std::unique_ptr<Ttag>>;
    mutable std::vector<Kept> kept_;  // analysers of the call, or of the request (see Analyser)
};

}  // namespace qel
