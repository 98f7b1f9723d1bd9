#include "readers/MPEGaudio.h"

#include <algorithm>

#include "readers/FileBytes.h"
#include "readers/ID3Fields.h"
#include "readers/TextForms.h"

namespace qel {
namespace {

// One block at position, zero past the end of the file, seen in place where
// the file holds it whole. held: the bytes the file held, -1 when the
// position is unusable.
MpegBlockView BlockAt(BinaryFile& file, int64_t position, MpegBlock& scratch, int64_t& held) {
    return ViewZeroFilled(file, position, scratch, held).first<kMpegBlockSize>();
}

}  // namespace

TMPEGaudio::TMPEGaudio(FileOpener& files)
    : Ttag(files), ID3v1(std::make_unique<TID3v1>(files)), ID3v2(std::make_unique<TID3v2>(files)) {
    ClearFields();
}

TMPEGaudio::~TMPEGaudio() = default;

void TMPEGaudio::ResetFields() {
    FileLength = 0;
    audioStart_ = 0;
    tagOnly_ = false;
    VendorText.clear();
    Vbr = VbrInfo{};
    Frame = MpegFrameInfo::Cleared();
    ID3v1->ClearFields();
    ID3v2->ClearFields();
}

MpegStreamFacts TMPEGaudio::Facts() const {
    return MpegStreamFacts{Frame, Vbr, FileLength, audioStart_, ID3v1->Present, VendorText};
}

bool TMPEGaudio::ReadStream(const std::string& fileName) {
    auto file = files().OpenRead(fileName, ShareMode::AllowWriters);
    if (!file) return false;
    FileLength = static_cast<int32_t>(file->Size());
    if (ID3v2->TagSize > 0) audioStart_ = static_cast<int32_t>(EndOfFollowingTags(*file, ID3v2->TagSize, FileLength));
    const int32_t audioStart = audioStart_;

    MpegBlock scratch;
    int64_t held = 0;
    MpegBlockView block = BlockAt(*file, audioStart, scratch, held);
    if (held < 0) return false;
    Frame = FindFirstFrame(block, Vbr);
    if (!Frame.Found && ID3v2->TagSize > 0) {
        const int64_t rest = int64_t{FileLength} - audioStart - (ID3v1->Present ? int64_t{TID3v1::kTagSize} : 0);
        tagOnly_ = rest <= held && std::all_of(block.begin(), block.begin() + std::max<int64_t>(rest, 0),
                                               [](uint8_t b) { return b == 0; });
    }
    if (!Frame.Found && held == static_cast<int64_t>(kMpegBlockSize)) {
        // Whatever leads the audio may be long: try once more in the middle.
        int64_t middle = (int64_t{FileLength} - audioStart) / 2;
        block = BlockAt(*file, middle, scratch, held);
        if (held < 0) return false;
        Frame = FindFirstFrame(block, Vbr);
    }
    if (Frame.Found && !IsVbrHeader(Vbr)) {
        int64_t end = int64_t{FileLength} - static_cast<int64_t>(kMpegBlockSize) -
                      (ID3v1->Present ? static_cast<int64_t>(TID3v1::kTagSize) : 0);
        block = BlockAt(*file, end, scratch, held);
        if (held < static_cast<int64_t>(kMpegBlockSize)) return false;
        VendorText = FindVendorText(block, 5 * int32_t{Frame.FrameSize});
    }
    return true;
}

bool TMPEGaudio::ReadFields(const std::string& fileName) {
    bool result = ID3v2->ReadTag(fileName) && ID3v1->ReadTag(fileName);
    if (result) {
        try {
            result = ReadStream(fileName);
        } catch (...) {  // nothing leaves the analyser
            result = false;
        }
    }
    if (Frame.Found) return result;
    if (result && TagWithoutAudio())
        Frame = MpegFrameInfo::Cleared();  // the stream's texts read as unknown
    else
        ClearFields();
    return result;
}



bool TMPEGaudio::Open(const std::string& fileName) {
    bool read = ReadInfo(fileName);
    bool valid = IsValidStream(Facts()) || TagWithoutAudio();
    if (read && valid) {
        TypeName = "mp3";
        HasID3v1 = ID3v1->Present;
        HasID3v2 = ID3v2->Present;
        if (HasID3v1 || HasID3v2) HasTag = true;
    }
    return valid;
}

void TMPEGaudio::FillSoundInfo(Tinfosound& out) {
    ClearSoundInfo();
    const MpegStreamFacts facts = Facts();
    InfoSound.bitrate = IntText(BitRateKbps(facts));
    InfoSound.cnanmod = ChannelModeText(Frame.ModeId);
    InfoSound.encoderid = IntText(EncoderId(facts));
    InfoSound.emphasis = EmphasisText(Frame.EmphasisId);
    InfoSound.encoder = EncoderText(facts);
    InfoSound.framecount = IntText(FrameCount(facts));
    InfoSound.layer = LayerText(Frame.LayerId);
    InfoSound.duration = RealText(DurationSeconds(facts));
    InfoSound.filelen = IntText(FileLength);
    InfoSound.samplrate = IntText(TableSampleRate(Frame));
    InfoSound.version = VersionText(Frame.VersionId);
    out = InfoSound;
}

void TMPEGaudio::FillTagInfo(Tinfotag& out) {
    ClearTagInfo();
    // The ID3v2 track number replaces the ID3v1 one whenever that tag is present.
    CopyID3v1Fields(*ID3v1, InfoTag);
    CopyID3v2Fields(*ID3v2, InfoTag);
    out = InfoTag;
}

std::string TMPEGaudio::ArtistTitle(const std::string& fileName) {
    ReadInfo(fileName);
    std::string title, artist;
    if (ID3v1->Present) {
        if (!ID3v1->Artist.empty()) artist = ID3v1->Artist;
        if (!ID3v1->Title.empty()) title = ID3v1->Title;
    }
    if (ID3v2->Present) {
        if (!ID3v2->Artist.empty()) artist = ID3v2->Artist;
        if (!ID3v2->Title.empty()) title = ID3v2->Title;
    }
    if (title.empty()) return {};
    return artist.empty() ? title : title + "-" + artist;
}

}  // namespace qel
