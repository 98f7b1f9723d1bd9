#include "readers/MPEGplus.h"

#include <iterator>

#include "readers/ByteOrder.h"
#include "readers/ID3Fields.h"
#include "readers/TextForms.h"
#include "readers/TextTable.h"

namespace qel {
namespace {

const char* const kChannelTexts[] = {"Unknown", "Stereo", "Joint Stereo"};
const char* const kProfileTexts[] = {"Unknown", "Thumb", "Radio", "Standard", "Xtreme", "Insane"};

// The profile byte of a version 7 header by profile id 1 to 5.
const uint8_t kProfileBytes[] = {128, 144, 160, 176, 192};

constexpr uint32_t kVersion7Word = 0x072B504D;  // "MP+" and 7
// Bytes of the header: the version bits of streams before version 7, the
// channel mode byte of earlier streams, and the profile and channel mode
// bytes of version 7.
constexpr size_t kOldVersionByte = 1;
constexpr size_t kOldModeByte = 2;
constexpr size_t kProfileByte = 10;
constexpr size_t kModeByte = 11;
constexpr int64_t kID3v1Size = 128;
// Every stream is taken as 44100 Hz with 1152 samples per frame.
constexpr double kSampleRate = 44100;
constexpr double kSamplesPerFrame = 1152;

uint8_t ProfileIdOf(uint8_t profileByte) {
    for (size_t i = 0; i < std::size(kProfileBytes); ++i)
        if (kProfileBytes[i] == profileByte) return static_cast<uint8_t>(i + 1);
    return 0;
}

}  // namespace

uint32_t MpcHeader::Word(size_t index) const { return LoadLE32(bytes + 4 * index); }

uint8_t StreamVersionOf(const MpcHeader& header) {
    if (header.Word(0) == kVersion7Word) return 7;
    switch ((header.bytes[kOldVersionByte] >> 1) & 15) {
        case 3: return 4;
        case 7: return 5;
        case 11: return 6;
        default: return 0;
    }
}

TMPEGplus::TMPEGplus(FileOpener& files) : Ttag(files), ID3v1(files), ID3v2(files), APE(files) {
    ClearFields();
}

void TMPEGplus::ResetFields() {
    Valid = false;
    ChannelModeId = 0;
    FileLength = 0;
    FrameCount = 0;
    HeaderBitRate = 0;
    StreamVersion = 0;
    ProfileId = 0;
    ID3v1.ClearFields();
    ID3v2.ClearFields();
    APE.ClearFields();
}

bool TMPEGplus::ReadFields(const std::string& fileName) {
    MpcHeader header;
    if (ID3v2.ReadTag(fileName)) header.id3v2Size = ID3v2.TagSize;
    bool result = false;
    try {
        if (auto file = files().OpenRead(fileName, ShareMode::AllowWriters)) {
            result = ReadAt(*file, header.id3v2Size, header.bytes, MpcHeader::kSize);
            header.fileSize = static_cast<int32_t>(file->Size());
        }
    } catch (...) {
        result = false;
    }
    if (result && header.fileSize > 0 && StreamVersionOf(header) != 0) {
        TakeHeader(header);
        ID3v1.ReadTag(fileName);
        APE.ReadInfo(fileName);
    }
    return result;
}

void TMPEGplus::TakeHeader(const MpcHeader& header) {
    Valid = true;
    StreamVersion = StreamVersionOf(header);
    FileLength = header.fileSize;
    const uint32_t w0 = header.Word(0), w1 = header.Word(1);
    if (StreamVersion == 7) {
        ChannelModeId = (header.bytes[kModeByte] & 0x40) ? 2 : 1;
        FrameCount = static_cast<int32_t>(w1);
        HeaderBitRate = 0;
        ProfileId = ProfileIdOf(header.bytes[kProfileByte]);
        return;
    }
    ChannelModeId = (header.bytes[kOldModeByte] & 0x7F) == 0 ? 1 : 2;
    FrameCount = static_cast<int32_t>(StreamVersion == 4 ? w1 >> 16 : w1);
    HeaderBitRate = static_cast<uint16_t>(StreamVersion == 6 ? 0 : w0 >> 23);
    ProfileId = 0;
}

int64_t TMPEGplus::BitRateKbps() const {
    if (HeaderBitRate != 0) return HeaderBitRate;
    if (FrameCount <= 0) return 0;
    const int64_t compressed =
        int64_t{FileLength} - ID3v2.TagSize - APE.TagSize - (ID3v1.Present ? kID3v1Size : 0);
    return RoundTiesEven(double(compressed) * 8 * 44.1 / FrameCount / kSamplesPerFrame);
}

double TMPEGplus::DurationSeconds() const { return FrameCount * kSamplesPerFrame / kSampleRate; }

std::string TMPEGplus::ChannelText() const { return TableText(kChannelTexts, ChannelModeId); }
std::string TMPEGplus::ProfileText() const { return TableText(kProfileTexts, ProfileId); }

bool TMPEGplus::Open(const std::string& fileName) {
    if (ReadInfo(fileName) && Valid) {
        TypeName = "mp+";
        HasID3v1 = ID3v1.Present;
        HasID3v2 = ID3v2.Present;
        if (ID3v1.Present || ID3v2.Present || APE.Present) HasTag = true;
    }
    return Valid;
}

void TMPEGplus::FillSoundInfo(Tinfosound& out) {
    ClearSoundInfo();
    InfoSound.bitrate = IntText(static_cast<uint16_t>(BitRateKbps()));
    InfoSound.cnanmod = ChannelText();
    InfoSound.cnanmodid = IntText(ChannelModeId);
    InfoSound.duration = RealText(DurationSeconds());
    InfoSound.filelen = IntText(FileLength);
    InfoSound.profile = ProfileText();
    InfoSound.ProfileID = IntText(ProfileId);
    InfoSound.streamversion = IntText(StreamVersion);
    InfoSound.framecount = IntText(FrameCount);
    out = InfoSound;
}

void TMPEGplus::FillTagInfo(Tinfotag& out) {
    ClearTagInfo();
    CopyID3v1Fields(ID3v1, InfoTag);
    CopyID3v2Fields(ID3v2, InfoTag);
    if (APE.Present) {
        // The APE reader fills only the APE fields; they join the ID3 ones.
        Tinfotag ape;
        APE.FillTagInfo(ape);
        for (auto field : {&Tinfotag::Titlea, &Tinfotag::Artista, &Tinfotag::Albuma, &Tinfotag::Tracka,
                           &Tinfotag::Yeara, &Tinfotag::Genrea, &Tinfotag::Commenta, &Tinfotag::Copyrighta})
            InfoTag.*field = ape.*field;
    }
    out = InfoTag;
}

std::string TMPEGplus::ArtistTitle(const std::string& fileName) {
    ReadInfo(fileName);
    std::string title;
    if (ID3v1.Present) title = ArtistDashTitle(ID3v1.Artist, ID3v1.Title);
    if (ID3v2.Present) title = ArtistDashTitle(ID3v2.Artist, ID3v2.Title);
    if (APE.Present) title = ArtistDashTitle(APE.Artist, APE.Title);
    return title;
}

}  // namespace qel
