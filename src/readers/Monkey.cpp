#include "readers/Monkey.h"

#include <array>
#include <cstdio>
#include <cstring>

#include "readers/ByteOrder.h"
#include "readers/ID3Fields.h"
#include "readers/TextForms.h"
#include "readers/TextTable.h"

namespace qel {
namespace {

// One table of eight texts seen two ways: compression level / 1000 indexes
// the first five, the channel count the last three. Values the table has no
// entry for read as "Unknown".
const char* const kCompressionTexts[] = {"Unknown", "Fast", "Normal", "High", "Extra High"};
const char* const kChannelTexts[] = {"Unknown", "Mono", "Stereo"};

// The fixed header's fields, little-endian.
constexpr size_t kMark = 0;
constexpr char kMarkText[] = "MAC ";
constexpr size_t kVersion = 4;
constexpr size_t kCompressionLevel = 6;
constexpr size_t kFlags = 8;
constexpr size_t kChannels = 10;
constexpr size_t kSampleRate = 12;
constexpr size_t kWavHeaderLength = 16;
constexpr size_t kPeakLevel = 32;     // only with kFlagPeakLevel
constexpr size_t kSeekElements = 36;  // only with kFlagSeekElements
// The stored WAV header's data size: the last 4 bytes of its tail.
constexpr size_t kDataSize = TMonkey::kWavTailSize - 4;
// The stored WAV header follows the 32-byte fixed header and the optional
// fields, so its last 36 bytes start 4 bytes before its length (plus 4 for
// each optional field present).
constexpr int64_t kWavTailBias = -4;

// From version 3.98 on the file begins with a descriptor ("MAC ", version,
// padding, then its own length at kDescriptorLength) and the header it
// points to. A header of the older layout has its flags and channel count
// where the descriptor length lies, so a valid one never gives a length
// below 65536 there.
constexpr uint16_t kFirstDescribedVersion = 3980;
constexpr size_t kDescriptorLength = 8;
constexpr uint32_t kDescriptorLengthLimit = 65536;
// The described header's fields, little-endian.
constexpr size_t kDescribedCompression = 0;
constexpr size_t kDescribedFlags = 2;
constexpr size_t kDescribedBlocksPerFrame = 4;
constexpr size_t kDescribedFinalFrameBlocks = 8;
constexpr size_t kDescribedTotalFrames = 12;
constexpr size_t kDescribedBits = 16;
constexpr size_t kDescribedChannels = 18;
constexpr size_t kDescribedSampleRate = 20;

bool BeginsWithMark(FileOpener& files, const std::string& fileName) {
    uint8_t mark[4] = {};
    const auto file = files.OpenRead(fileName, ShareMode::AllowWriters);
    return file && ReadAt(*file, 0, mark, sizeof mark) && std::memcmp(mark, kMarkText, sizeof mark) == 0;
}

}  // namespace

TMonkey::TMonkey(FileOpener& files) : Ttag(files), ID3v1(files) { ClearFields(); }

void TMonkey::ResetFields() {
    FileLength = 0;
    std::memset(MacHeader, 0, sizeof MacHeader);
    std::memset(WavTail, 0, sizeof WavTail);
    Described = false;
    std::memset(DescribedHeader, 0, sizeof DescribedHeader);
    ID3v1.ClearFields();
}

uint32_t TMonkey::HeaderField(size_t size, size_t before398, size_t described) const {
    const uint8_t* at = Described ? DescribedHeader + described : MacHeader + before398;
    return size == 2 ? LoadLE16(at) : LoadLE32(at);
}

uint16_t TMonkey::VersionField() const { return LoadLE16(MacHeader + kVersion); }
uint16_t TMonkey::CompressionLevel() const {
    return static_cast<uint16_t>(HeaderField(2, kCompressionLevel, kDescribedCompression));
}
uint16_t TMonkey::Flags() const { return static_cast<uint16_t>(HeaderField(2, kFlags, kDescribedFlags)); }
uint16_t TMonkey::ChannelCount() const { return static_cast<uint16_t>(HeaderField(2, kChannels, kDescribedChannels)); }
int32_t TMonkey::SampleRate() const { return static_cast<int32_t>(HeaderField(4, kSampleRate, kDescribedSampleRate)); }
uint32_t TMonkey::WavHeaderLength() const { return LoadLE32(MacHeader + kWavHeaderLength); }
// The described header stores no peak level.
int32_t TMonkey::PeakLevel() const { return Described ? 0 : static_cast<int32_t>(LoadLE32(MacHeader + kPeakLevel)); }

uint64_t TMonkey::TotalBlocks() const {
    const uint32_t frames = LoadLE32(DescribedHeader + kDescribedTotalFrames);
    if (!Described || frames == 0) return 0;
    return uint64_t{frames - 1} * LoadLE32(DescribedHeader + kDescribedBlocksPerFrame) +
           LoadLE32(DescribedHeader + kDescribedFinalFrameBlocks);
}

// Before 3.98 the stored WAV header's data size; from then on the blocks'
// bytes, a real number since a damaged header may count past any integer.
double TMonkey::DataSize() const {
    if (!Described) return static_cast<int32_t>(LoadLE32(WavTail + kDataSize));
    return double(TotalBlocks()) * ChannelCount() * (LoadLE16(DescribedHeader + kDescribedBits) / 8);
}

bool TMonkey::ReadFields(const std::string& fileName) {
    try {
        if (ID3v1.ReadTag(fileName)) {
            ReadStream(fileName);
            return true;
        }
    } catch (...) {
    }
    ClearFields();
    return false;
}

// Reads the header and, when the file stores a WAV header, its tail; throws
// when the file cannot be opened or a read comes short.
void TMonkey::ReadStream(const std::string& fileName) {
    auto file = OpenOrThrow(files(), fileName);
    FileLength = static_cast<int32_t>(file->Size());
    if (!ReadAt(*file, 0, MacHeader, kHeaderSize)) throw std::runtime_error("short header");
    const uint32_t descriptorLength = LoadLE32(MacHeader + kDescriptorLength);
    if (VersionField() >= kFirstDescribedVersion && descriptorLength < kDescriptorLengthLimit) {
        Described = true;
        if (!ReadAt(*file, descriptorLength, DescribedHeader, kDescribedHeaderSize))
            throw std::runtime_error("short described header");
        return;
    }
    if (!HasFlag(kFlagPeakLevel)) std::memset(MacHeader + kPeakLevel, 0, 4);
    if (!HasFlag(kFlagSeekElements)) std::memset(MacHeader + kSeekElements, 0, 4);
    // Without a stored WAV header there is nothing to position at.
    if (HasFlag(kFlagNoWavHeader)) return;
    const int64_t tail = int64_t{WavHeaderLength()} + kWavTailBias + (HasFlag(kFlagPeakLevel) ? 4 : 0) +
                         (HasFlag(kFlagSeekElements) ? 4 : 0);
    if (!ReadAt(*file, tail, WavTail, kWavTailSize)) throw std::runtime_error("short WAV header");
}

bool TMonkey::Open(const std::string& fileName) {
    if (ReadInfo(fileName) && IsValidStream()) TypeName = "mon";
    return IsValidStream();
}

bool TMonkey::IsValidStream() const {
    return std::memcmp(MacHeader + kMark, kMarkText, 4) == 0 && SampleRate() >= 1 && ChannelCount() != 0;
}

int TMonkey::BitsPerSample() const {
    if (!IsValidStream()) return 0;
    if (Described) return LoadLE16(DescribedHeader + kDescribedBits);
    if (HasFlag(kFlag24Bit)) return 24;
    if (HasFlag(kFlag8Bit)) return 8;
    return 16;
}

std::string TMonkey::VersionText() const {
    if (VersionField() == 0) return {};
    char text[16];
    std::snprintf(text, sizeof text, "%4.2f", VersionField() / 1000.0);
    for (char* c = text; *c; ++c)
        if (*c == ',') *c = '.';  // the point, whatever the C library's locale
    return text;
}

std::string TMonkey::CompressionText() const { return TableText(kCompressionTexts, CompressionLevel() / 1000u); }

std::string TMonkey::ChannelText() const { return TableText(kChannelTexts, ChannelCount()); }

double TMonkey::PeakPercent() const {
    if (!IsValidStream() || !HasFlag(kFlagPeakLevel) || Described) return 0;
    double fullScale = 32768;
    if (BitsPerSample() == 24) fullScale = 8388608;
    if (BitsPerSample() == 8) fullScale = 128;
    return PeakLevel() / fullScale * 100;
}

double TMonkey::DurationSeconds() const {
    if (!IsValidStream()) return 0;
    if (Described) return double(TotalBlocks()) / SampleRate();
    if (HasFlag(kFlagNoWavHeader)) return 0;
    // A valid stream has a sample rate, a channel count and bits per sample.
    return DataSize() * 8 / SampleRate() / BitsPerSample() / ChannelCount();
}

double TMonkey::RatioPercent() const {
    if (!IsValidStream() || (HasFlag(kFlagNoWavHeader) && !Described)) return 0;
    const double uncompressed = DataSize() + 44;
    if (uncompressed == 0) return 0;  // a damaged data size; no ratio
    return double(FileLength) / uncompressed * 100;
}

void TMonkey::FillSoundInfo(Tinfosound& out) {
    ClearSoundInfo();
    InfoSound.bits = IntText(BitsPerSample());
    InfoSound.cnanmod = ChannelText();
    InfoSound.compresion = CompressionText();
    InfoSound.peak = RealText(PeakPercent());
    InfoSound.ratio = RealText(RatioPercent());
    InfoSound.version = VersionText();
    InfoSound.duration = RealText(DurationSeconds());
    InfoSound.filelen = IntText(FileLength);
    InfoSound.samplrate = IntText(SampleRate());
    out = InfoSound;
}

void TMonkey::FillTagInfo(Tinfotag& out) {
    ClearTagInfo();
    CopyID3v1Fields(ID3v1, InfoTag);
    out = InfoTag;
}

std::string TMonkey::ArtistTitle(const std::string& fileName) {
    ReadInfo(fileName);
    return ID3v1.Present ? ArtistDashTitle(ID3v1.Artist, ID3v1.Title) : std::string();
}

TMonkeyApe::TMonkeyApe(FileOpener& files) : TMonkey(files) {}

void TMonkeyApe::ResetFields() {
    TMonkey::ResetFields();
    APE.reset();
}

// The APE tag is read for a stream only, as the MPEGplus analyser does. Most
// ".ape" files without the mark are bare APE tags, which the next analyser
// reads: a look at the mark spares reading their tags twice.
bool TMonkeyApe::ReadFields(const std::string& fileName) {
    if (!BeginsWithMark(files(), fileName)) return false;
    const bool read = TMonkey::ReadFields(fileName);
    if (read && IsValidStream()) APE.emplace(files()).ReadInfo(fileName);
    return read;
}

void TMonkeyApe::FillTagInfo(Tinfotag& out) {
    TMonkey::FillTagInfo(out);
    if (APE) MergeApeFields(*APE, InfoTag);
    out = InfoTag;
}

std::string TMonkeyApe::ArtistTitle(const std::string& fileName) {
    ReadInfo(fileName);
    return APE && APE->Present ? ArtistDashTitle(APE->Artist, APE->Title) : TMonkey::ArtistTitle(fileName);
}

}  // namespace qel
