#include "player/FileInfoDispatch.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "platform/RequestFiles.h"

namespace qel {
namespace {

const char kNoTag[] = "notag";

const DispatchRow* FindRow(const std::string& extension, bool forTitle) {
    for (const auto& row : DispatchTable()) {
        const auto& list = forTitle ? row.titleExtensions : row.extensions;
        if (std::find(list.begin(), list.end(), extension) != list.end()) return &row;
    }
    return nullptr;
}

}  // namespace

std::string LowerExtension(const std::string& fileName) {
    size_t start = fileName.find_last_of("\\/");
    start = start == std::string::npos ? 0 : start + 1;
    size_t dot = fileName.rfind('.');
    if (dot == std::string::npos || dot < start) return {};
    std::string ext = fileName.substr(dot);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

// Every open of a request is served from one open of the file: the opener
// itself where it already gives each request fixed contents, else `own`.
FileOpener& FileInfoDispatch::RequestOpener(std::optional<RequestFiles>& own) const {
    if (files_->ContentsFixed()) return *files_;
    return own.emplace(*files_, &buffers_);
}

// Within one request (an opener with fixed contents) an analyser made for
// ReadFileInfo serves FileTitle too, so the title needs no second parse;
// otherwise each call makes its own.
Ttag* FileInfoDispatch::Analyser(const DispatchAnalyser& choice, FileOpener& files) const {
    if (files_->ContentsFixed())
        for (const auto& [create, analyser] : kept_)
            if (create == choice.create) return analyser.get();
    kept_.emplace_back(choice.create, choice.create(files));
    return kept_.back().second.get();
}

// Analysers over a request opener of the call's own end with the call.
void FileInfoDispatch::ReleaseAnalysers() const {
    if (!files_->ContentsFixed()) kept_.clear();
}

void FileInfoDispatch::ClearInfo() {
    Sound.Clear();
    Tags.Clear();
}

bool FileInfoDispatch::ReadFileInfo(const std::string& fileName) {
    ClearInfo();
    try {
        std::optional<RequestFiles> own;
        FileOpener& files = RequestOpener(own);
        kept_.clear();
        if (const DispatchRow* row = FindRow(LowerExtension(fileName), false)) {
            for (const auto& choice : row->analysers) {
                Ttag* analyser = Analyser(choice, files);
                if (row->sequence == ReadSequence::ReadInfoFirst) analyser->ReadInfo(fileName);
                if (!analyser->Open(fileName)) continue;
                if (row->sequence != ReadSequence::OpenOnly) analyser->ReadInfo(fileName);
                Tinfosound sound;
                analyser->FillSoundInfo(sound);
                Sound = std::move(sound);
                Tinfotag tags;
                analyser->FillTagInfo(tags);
                Tags = std::move(tags);
                TagType = choice.tagType;
                ReleaseAnalysers();
                return true;
            }
        }
    } catch (...) {
        // A failure inside an analyser means the file has no information.
    }
    TagType = kNoTag;
    ReleaseAnalysers();
    return false;
}

std::string FileInfoDispatch::FileTitle(const std::string& fileName) const {
    try {
        std::optional<RequestFiles> own;
        FileOpener& files = RequestOpener(own);
        if (const DispatchRow* row = FindRow(LowerExtension(fileName), true)) {
            for (const auto& choice : row->analysers) {
                Ttag* analyser = Analyser(choice, files);
                if (!analyser->Open(fileName)) continue;
                std::string title = analyser->ArtistTitle(fileName);
                ReleaseAnalysers();
                return title;
            }
        }
    } catch (...) {
    }
    ReleaseAnalysers();
    return {};
}

}  // namespace qel
