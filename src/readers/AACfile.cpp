#include "readers/AACfile.h"

#include <cstring>

#include "readers/FileBytes.h"
#include "readers/ID3Fields.h"
#include "readers/TextForms.h"
#include "readers/TextTable.h"

namespace qel {
namespace {

const char* const kHeaderTypeTexts[] = {"Unknown", "ADIF", "ADTS", "MP4"};
const char* const kMpegVersionTexts[] = {"Unknown", "MPEG-2", "MPEG-4"};
const char* const kProfileTexts[] = {"Unknown", "AAC Main", "AAC LC", "AAC SSR", "AAC LTP"};
const char* const kBitRateTypeTexts[] = {"Unknown", "CBR", "VBR"};

// By the 4-bit sampling-frequency index.
const int32_t kSampleRates[16] = {96000, 88200, 64000, 48000, 44100, 32000, 24000, 22050,
                                  16000, 12000, 11025, 8000,  0,     0,     0,     0};

// An ADIF header reaches at most to bit 107 + 52 + 20.
constexpr size_t kADIFBytes = 23;
// An ADTS header's fields end at bit 54.
constexpr size_t kADTSBytes = 7;

}  // namespace

int32_t AACSampleRate(unsigned index) { return kSampleRates[index & 15]; }

TAACfile::TAACfile(FileOpener& files) : Ttag(files), ID3v1(files), ID3v2(files) { ClearFields(); }

void TAACfile::ResetFields() {
    FileLength = 0;
    HeaderTypeId = kUnknownHeader;
    MpegVersionId = 0;
    ProfileId = 0;
    Channels = 0;
    SampleRate = 0;
    BitRate = 0;
    BitRateTypeId = kUnknownRate;
    ID3v1.ClearFields();
    ID3v2.ClearFields();
    MP4 = {};
}

bool TAACfile::ReadFields(const std::string& fileName) {
    // The stream's open comes first: within a request, a handle that denies
    // writers serves the tag readers' opens as well.
    std::unique_ptr<BinaryFile> file;
    try {
        file = OpenOrThrow(files(), fileName, ShareMode::DenyWriters);
    } catch (...) {
    }
    if (!ID3v2.ReadTag(fileName) || !ID3v1.ReadTag(fileName) || !file) return false;
    try {
        const int64_t size = file->Size();
        FileLength = static_cast<int32_t>(size);
        const int64_t start = ID3v2.TagSize;
        uint8_t scratch[4];
        int64_t held = 0;
        const auto head = ViewZeroFilled(*file, start, scratch, held);
        if (std::memcmp(head.data(), "ADIF", 4) == 0) {
            HeaderTypeId = kADIF;
            ReadADIF(*file, start);
        } else if (head[0] == 0xFF && (head[1] & 0xF0) == 0xF0) {
            HeaderTypeId = kADTS;
            WalkADTS(*file, start, size);
        } else if (IsMP4(*file, size)) {
            HeaderTypeId = kMP4;
            ReadMP4Fields(*file, size);
        }
        return true;
    } catch (...) {
        return false;
    }
}

void TAACfile::ReadADIF(BinaryFile& file, int64_t start) {
    uint8_t scratch[kADIFBytes];
    const BitWindow h(file.View(start, scratch));
    const unsigned q = h.Bits(32, 1) ? 107 : 35;  // a copyright id takes 72 bits
    const bool variable = h.Bits(q, 1) != 0;
    BitRateTypeId = variable ? kVBR : kCBR;
    BitRate = static_cast<int32_t>(h.Bits(q + 1, 23));
    // The buffer fullness is stored for a constant bit rate only.
    const unsigned r = variable ? q + 32 : q + 52;
    ProfileId = static_cast<uint8_t>(h.Bits(r, 2) + 1);
    SampleRate = kSampleRates[h.Bits(r + 2, 4)];
    Channels = static_cast<uint8_t>(h.Bits(r + 6, 4) + h.Bits(r + 10, 4) + h.Bits(r + 14, 4) + h.Bits(r + 18, 2));
    MpegVersionId = 2;
}

// Sums the frame lengths of up to kMaxFrames frames; one frame of a constant
// bit rate is enough. The frame counter also counts the attempt that found no
// sync word, so it is never 0.
void TAACfile::WalkADTS(BinaryFile& file, int64_t start, int64_t fileSize) {
    int frames = 0;
    int64_t total = 0;
    for (;;) {
        ++frames;
        uint8_t scratch[kADTSBytes];
        const BitWindow h(file.View(start + total, scratch));
        if (h.Bits(0, 12) != 0xFFF) break;
        MpegVersionId = h.Bits(12, 1) ? 1 : 2;
        ProfileId = static_cast<uint8_t>(h.Bits(16, 2) + 1);
        SampleRate = kSampleRates[h.Bits(18, 4)];
        Channels = static_cast<uint8_t>(h.Bits(23, 3));
        // The frame length and the buffer fullness sit at the same bits for
        // MPEG-2 and MPEG-4 streams.
        total += h.Bits(30, 13);
        BitRateTypeId = h.Bits(43, 11) == 0x7FF ? kVBR : kCBR;
        if (BitRateTypeId == kCBR || frames == kMaxFrames || start + total >= fileSize) break;
    }
    BitRate = static_cast<int32_t>(RoundTiesEven(double(total) * 8 / kSamplesPerFrame / frames * SampleRate));
}

void TAACfile::ReadMP4Fields(BinaryFile& file, int64_t fileSize) {
    MP4 = ReadMP4(file, fileSize);
    MpegVersionId = 2;
    ProfileId = MP4.Audio.ProfileId;
    Channels = MP4.Audio.Channels;
    SampleRate = MP4.Audio.SampleRate;
    BitRate = MP4.Audio.BitRate;
    BitRateTypeId = MP4.Audio.BitRateTypeId;
}

bool TAACfile::IsValidStream() const {
    return HeaderTypeId != kUnknownHeader && Channels != 0 && SampleRate > 0 && BitRate > 0;
}

double TAACfile::DurationSeconds() const {
    if (HeaderTypeId == kMP4) return MP4.Audio.Duration;  // from the movie's headers
    if (BitRate == 0) return 0;
    return double(int64_t{FileLength} - ID3v2.TagSize) * 8 / BitRate;
}

bool TAACfile::Open(const std::string& fileName) {
    if (ReadInfo(fileName) && IsValidStream()) TypeName = "aac";
    return IsValidStream();
}

void TAACfile::FillSoundInfo(Tinfosound& out) {
    ClearSoundInfo();
    InfoSound.bitrate = IntText(BitRate);
    InfoSound.bitratetype = TableText(kBitRateTypeTexts, BitRateTypeId);
    InfoSound.bitratetypeid = IntText(BitRateTypeId);
    InfoSound.cnanmod = IntText(Channels);
    InfoSound.duration = RealText(DurationSeconds());
    InfoSound.filelen = IntText(FileLength);
    InfoSound.HeaderType = TableText(kHeaderTypeTexts, HeaderTypeId);
    InfoSound.HeaderTypeID = IntText(HeaderTypeId);
    InfoSound.MPEGVersion = TableText(kMpegVersionTexts, MpegVersionId);
    InfoSound.MPEGVersionID = IntText(MpegVersionId);
    InfoSound.profile = TableText(kProfileTexts, ProfileId);
    InfoSound.ProfileID = IntText(ProfileId);
    InfoSound.samplrate = IntText(SampleRate);
    out = InfoSound;
}

void TAACfile::FillTagInfo(Tinfotag& out) {
    ClearTagInfo();
    CopyID3v1Fields(ID3v1, InfoTag);
    CopyID3v2Fields(ID3v2, InfoTag);
    CopyMP4Fields(MP4.Tags, InfoTag);
    out = InfoTag;
}

std::string TAACfile::ArtistTitle(const std::string& fileName) {
    ReadInfo(fileName);
    std::string title;
    if (ID3v1.Present) title = ArtistDashTitle(ID3v1.Artist, ID3v1.Title) + ".";
    if (ID3v2.Present) title = ArtistDashTitle(ID3v2.Artist, ID3v2.Title);
    if (MP4.Tags.Present) title = ArtistDashTitle(MP4.Tags.Artist, MP4.Tags.Title);
    return title;
}

}  // namespace qel
