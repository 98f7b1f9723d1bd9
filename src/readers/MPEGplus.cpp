#include "readers/MPEGplus.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>

#include "readers/ByteCursor.h"
#include "readers/ByteOrder.h"
#include "readers/FileBytes.h"
#include "readers/ID3Fields.h"
#include "readers/TextForms.h"
#include "readers/TextTable.h"

namespace qel {
namespace {

// Version 8 streams may be mono or hold more than two channels.
const char* const kChannelTexts[] = {"Unknown", "Stereo", "Joint Stereo", "Mono", "Multi Channel"};
constexpr uint8_t kStereo = 1, kJointStereo = 2, kMono = 3, kManyChannels = 4;
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
// The sample rate of a version 7 header: the low 2 bits of byte 10. Earlier
// versions know only 44100 Hz.
constexpr uint8_t kRateBits = 0x03;
const uint32_t kSampleRates[] = {44100, 48000, 37800, 32000};
constexpr int64_t kID3v1Size = 128;
// Streams before version 8 are timed as 44100 Hz with 1152 samples per frame.
constexpr double kSampleRate = 44100;
constexpr double kSamplesPerFrame = 1152;

// Version 8: "MPCK", then packets. The stream header (SH) holds a CRC, the
// version, the sample count and the silence at the start (both sizes in
// 7-bit groups), then the rate index (top 3 bits), and the channel count less
// one (top 4 bits) with the mid-side bit (0x08). The encoder info (EI)
// begins with the profile, 7 bits in eighths, whose whole part is the
// version 7 header's profile nibble. Audio (AP) or the stream end (SE) ends
// the header packets.
constexpr char kVersion8Mark[] = "MPCK";
constexpr int kMaxPackets = 64;
constexpr size_t kMaxSizeBytes = 8;     // 56 bits of size
constexpr size_t kPacketBytesRead = 64;  // of each packet: the fields read all lie within
const uint32_t kVersion8Rates[8] = {44100, 48000, 37800, 32000};
constexpr uint8_t kMidSideBit = 0x08;

// A number in 7-bit groups, most significant first, every byte but the last
// with its top bit set; false when it runs past the cursor or over 8 bytes.
bool TakeGroups(ByteCursor& c, uint64_t& value, size_t& length) {
    value = 0;
    for (length = 1; length <= kMaxSizeBytes; ++length) {
        uint8_t byte = 0;
        if (!c.TryU8(byte)) return false;
        value = value << 7 | (byte & 0x7F);
        if ((byte & 0x80) == 0) return true;
    }
    return false;
}

bool IsPacketKey(std::span<const uint8_t> key) {
    return key.size() == 2 && key[0] >= 'A' && key[0] <= 'Z' && key[1] >= 'A' && key[1] <= 'Z';
}

void ReadStreamHeader(ByteCursor c, Mpc8Stream& stream) {
    uint8_t version = 0, rate = 0, channels = 0;
    uint64_t samples = 0, silence = 0;
    size_t length = 0;
    c.Skip(4);  // CRC
    if (!c.TryU8(version) || version != 8 || !TakeGroups(c, samples, length) || !TakeGroups(c, silence, length) ||
        !c.TryU8(rate) || !c.TryU8(channels))
        return;  // a header packet too short for its fields
    if (kVersion8Rates[rate >> 5] == 0) return;  // a rate index without a rate
    stream.found = true;
    stream.samples = samples;
    stream.silence = silence;
    stream.sampleRate = kVersion8Rates[rate >> 5];
    stream.channels = static_cast<uint8_t>((channels >> 4) + 1);
    stream.midSide = (channels & kMidSideBit) != 0;
}

uint8_t ProfileIdOf(uint8_t profileByte) {
    for (size_t i = 0; i < std::size(kProfileBytes); ++i)
        if (kProfileBytes[i] == profileByte) return static_cast<uint8_t>(i + 1);
    return 0;
}

}  // namespace

uint32_t MpcHeader::Word(size_t index) const { return LoadLE32(bytes + 4 * index); }

uint8_t StreamVersionOf(const MpcHeader& header) {
    if (header.Word(0) == kVersion7Word) return 7;
    if (std::memcmp(header.bytes, kVersion8Mark, 4) == 0) return 8;
    switch ((header.bytes[kOldVersionByte] >> 1) & 15) {
        case 3: return 4;
        case 7: return 5;
        case 11: return 6;
        default: return 0;
    }
}

Mpc8Stream ReadMpc8Packets(BinaryFile& file, int64_t start) {
    Mpc8Stream stream;
    const int64_t fileSize = file.Size();
    int64_t at = start;
    for (int packet = 0; packet < kMaxPackets; ++packet) {
        uint8_t scratch[kPacketBytesRead];
        ByteCursor c = CursorAt(file, at, scratch);
        const auto key = c.Take(2);
        uint64_t size = 0;
        size_t length = 0;
        if (!IsPacketKey(key) || !TakeGroups(c, size, length)) break;
        const uint64_t headLength = 2 + length;
        if (size < headLength || size > static_cast<uint64_t>(fileSize - at)) break;
        const char name[2] = {static_cast<char>(key[0]), static_cast<char>(key[1])};
        const ByteCursor contents(c.Take(size - headLength));
        if (std::memcmp(name, "AP", 2) == 0 || std::memcmp(name, "SE", 2) == 0) break;
        if (std::memcmp(name, "SH", 2) == 0 && !stream.found) ReadStreamHeader(contents, stream);
        if (std::memcmp(name, "EI", 2) == 0 && !contents.AtEnd())
            stream.profileByte = static_cast<uint8_t>((contents.Rest()[0] >> 1) / 8 << 4);
        at += static_cast<int64_t>(size);
    }
    return stream;
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
    SampleRate = 0;
    PlayedSamples = 0;
    ID3v1.ClearFields();
    ID3v2.ClearFields();
    APE.ClearFields();
}

bool TMPEGplus::ReadFields(const std::string& fileName) {
    MpcHeader header;
    if (ID3v2.ReadTag(fileName)) header.id3v2Size = ID3v2.TagSize;
    bool result = false;
    Mpc8Stream stream;
    try {
        if (auto file = files().OpenRead(fileName, ShareMode::AllowWriters)) {
            result = ReadAt(*file, header.id3v2Size, header.bytes, MpcHeader::kSize);
            header.fileSize = static_cast<int32_t>(file->Size());
            if (result && StreamVersionOf(header) == 8) stream = ReadMpc8Packets(*file, header.id3v2Size + 4);
        }
    } catch (...) {
        result = false;
    }
    const uint8_t version = StreamVersionOf(header);
    if (result && header.fileSize > 0 && version != 0 && (version != 8 || stream.found)) {
        TakeHeader(header);
        if (version == 8) TakeStream(stream);
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
    if (StreamVersion == 8) return;  // its packets say the rest (TakeStream)
    if (StreamVersion == 7) {
        ChannelModeId = (header.bytes[kModeByte] & 0x40) ? 2 : 1;
        FrameCount = static_cast<int32_t>(w1);
        HeaderBitRate = 0;
        ProfileId = ProfileIdOf(header.bytes[kProfileByte]);
        SampleRate = kSampleRates[header.bytes[kProfileByte] & kRateBits];
        return;
    }
    SampleRate = static_cast<uint32_t>(kSampleRate);
    ChannelModeId = (header.bytes[kOldModeByte] & 0x7F) == 0 ? 1 : 2;
    FrameCount = static_cast<int32_t>(StreamVersion == 4 ? w1 >> 16 : w1);
    HeaderBitRate = static_cast<uint16_t>(StreamVersion == 6 ? 0 : w0 >> 23);
    ProfileId = 0;
}

// Version 8 names its samples and rate; the frames of 1152 samples are counted from them.
void TMPEGplus::TakeStream(const Mpc8Stream& stream) {
    SampleRate = stream.sampleRate;
    PlayedSamples = stream.samples > stream.silence ? stream.samples - stream.silence : 0;
    FrameCount = static_cast<int32_t>(std::min<uint64_t>((stream.samples + 1151) / 1152, INT32_MAX));
    ProfileId = ProfileIdOf(stream.profileByte);
    if (stream.channels == 1)
        ChannelModeId = kMono;
    else if (stream.channels == 2)
        ChannelModeId = stream.midSide ? kJointStereo : kStereo;
    else
        ChannelModeId = kManyChannels;
}

int64_t TMPEGplus::AudioBytes() const {
    return int64_t{FileLength} - ID3v2.TagSize - APE.TagSize - (ID3v1.Present ? kID3v1Size : 0);
}

int64_t TMPEGplus::BitRateKbps() const {
    if (HeaderBitRate != 0) return HeaderBitRate;
    if (StreamVersion == 8) {
        const double seconds = DurationSeconds();
        return seconds > 0 ? RoundTiesEven(double(AudioBytes()) * 8 / seconds / 1000) : 0;
    }
    if (FrameCount <= 0) return 0;
    return RoundTiesEven(double(AudioBytes()) * 8 * 44.1 / FrameCount / kSamplesPerFrame);
}

double TMPEGplus::DurationSeconds() const {
    if (StreamVersion == 8) return SampleRate > 0 ? double(PlayedSamples) / SampleRate : 0;
    return FrameCount * kSamplesPerFrame / kSampleRate;
}

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
    InfoSound.samplrate = IntText(SampleRate);
    out = InfoSound;
}

void TMPEGplus::FillTagInfo(Tinfotag& out) {
    ClearTagInfo();
    CopyID3v1Fields(ID3v1, InfoTag);
    CopyID3v2Fields(ID3v2, InfoTag);
    MergeApeFields(APE, InfoTag);  // the APE fields join the ID3 ones
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
