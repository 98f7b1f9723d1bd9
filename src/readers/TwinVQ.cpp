#include "readers/TwinVQ.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "readers/ByteOrder.h"
#include "readers/FileBytes.h"
#include "readers/TextForms.h"

namespace qel {
namespace {

constexpr size_t kHeaderSize = 40;
constexpr char kMagic[] = "TWIN97012000";
constexpr size_t kMagicSize = 12;
// Header numbers are 4 bytes, big-endian; only their last two bytes are used.
constexpr size_t kHeaderSizeField = 12;
constexpr size_t kChannelModeField = 24;
constexpr size_t kBitRateField = 28;
constexpr size_t kSampleRateField = 32;

uint16_t HeaderNumber(const uint8_t* header, size_t field) { return LoadBE16(header + field + 2); }

// Chunks start behind the magic and the header size. A chunk head is its id
// and a 4-byte big-endian size, of which the last two bytes are used.
constexpr int64_t kFirstChunk = 16;
constexpr size_t kChunkHeadSize = 8;
constexpr size_t kChunkSizeField = 4;
// A chunk's text keeps at most this many bytes.
constexpr size_t kChunkText = 250;

// Chunk ids and the text each fills, in the order they are compared.
struct ChunkName {
    const char* id;
    std::string TTwinVQ::*field;
};
const std::array<ChunkName, 5> kChunkNames = {{
    {"NAME", &TTwinVQ::Title},
    {"COMT", &TTwinVQ::Comment},
    {"AUTH", &TTwinVQ::Author},
    {"(c) ", &TTwinVQ::Copyright},
    {"FILE", &TTwinVQ::OrigFile},
}};

// Sample-rate codes with rates of their own; any other code is kHz.
struct RateCode {
    uint16_t code;
    uint16_t rate;
};
constexpr std::array<RateCode, 3> kRateCodes = {{{11, 11025}, {22, 22050}, {44, 44100}}};

uint16_t SampleRateOf(uint16_t code) {
    for (const auto& entry : kRateCodes)
        if (entry.code == code) return entry.rate;
    return static_cast<uint16_t>(code * 1000u);
}

// Header channel mode 0 is mono, 1 stereo; anything else is unknown.
uint8_t ChannelModeOf(uint16_t mode) { return mode <= 1 ? static_cast<uint8_t>(mode + 1) : 0; }

constexpr std::array<const char*, 3> kChannelTexts = {"Unknown", "Mono", "Stereo"};

}  // namespace

TTwinVQ::TTwinVQ(FileOpener& files) : Ttag(files) { ClearFields(); }

void TTwinVQ::ResetFields() {
    Valid = false;
    ChannelModeId = 0;
    BitRate = 0;
    SampleRate = 0;
    FileLength = 0;
    Duration = 0;
    for (const auto& chunk : kChunkNames) (this->*chunk.field).clear();
}

bool TTwinVQ::ReadFields(const std::string& fileName) {
    auto file = files().OpenRead(fileName, ShareMode::AllowWriters);
    if (!file) return false;
    uint8_t header[kHeaderSize];
    if (ReadZeroFilled(*file, 0, header, sizeof header) < sizeof header) return false;
    const int64_t fileSize = file->Size();
    if (std::memcmp(header, kMagic, kMagicSize) != 0) return true;

    Valid = true;
    ChannelModeId = ChannelModeOf(HeaderNumber(header, kChannelModeField));
    const uint16_t bitRate = HeaderNumber(header, kBitRateField);
    BitRate = static_cast<uint8_t>(bitRate);
    SampleRate = SampleRateOf(HeaderNumber(header, kSampleRateField));
    FileLength = static_cast<int32_t>(static_cast<uint32_t>(fileSize));
    // Without a bit rate the play time is unknown: 0 rather than a division by zero.
    const double audioBytes =
        std::fabs(static_cast<double>(int64_t{FileLength} - HeaderNumber(header, kHeaderSizeField) - 20));
    Duration = bitRate > 0 ? audioBytes / 125 / bitRate : 0;

    // The chunk walk: each chunk keeps its first bytes as text and the next
    // header is read behind the whole chunk. A header that is not there or
    // a chunk cut by the end of the file ends the walk; texts found stay.
    int64_t position = kFirstChunk;
    while (position < fileSize) {
        uint8_t head[kChunkHeadSize];
        if (ReadZeroFilled(*file, position, head, sizeof head) < sizeof head) break;
        if (std::any_of(head, head + 4, [](uint8_t b) { return b < 32; }) || std::memcmp(head, "DATA", 4) == 0)
            break;
        const uint16_t chunkSize = HeaderNumber(head, kChunkSizeField);
        const size_t wanted = std::min<size_t>(chunkSize, kChunkText);
        char text[kChunkText];
        if (ReadZeroFilled(*file, position + kChunkHeadSize, text, wanted) < wanted) break;
        for (const auto& chunk : kChunkNames) {
            if (std::memcmp(head, chunk.id, 4) != 0) continue;
            // Texts end at their first zero byte, as the host sees them.
            this->*chunk.field = std::string(text, std::find(text, text + wanted, '\0'));
            break;
        }
        position += kChunkHeadSize + chunkSize;
    }
    return true;
}

bool TTwinVQ::Open(const std::string& fileName) {
    if (ReadInfo(fileName) && Valid) TypeName = "vqf";
    return Valid;
}

std::string TTwinVQ::ChannelText() const { return kChannelTexts[ChannelModeId]; }

void TTwinVQ::FillSoundInfo(Tinfosound& out) {
    ClearSoundInfo();
    InfoSound.bitrate = IntText(BitRate);
    InfoSound.cnanmod = ChannelText();
    InfoSound.duration = RealText(Duration);
    InfoSound.filelen = IntText(FileLength);
    InfoSound.cnanmodid = IntText(ChannelModeId);
    InfoSound.samplrate = IntText(SampleRate);
    out = InfoSound;
}

void TTwinVQ::FillTagInfo(Tinfotag& out) {
    ClearTagInfo();
    InfoTag.autor = Author;
    InfoTag.Comment2 = Comment;
    InfoTag.Copyright2 = Copyright;
    InfoTag.Title2 = Title;
    InfoTag.origfile = OrigFile;
    out = InfoTag;
}

std::string TTwinVQ::ArtistTitle(const std::string& fileName) {
    ReadInfo(fileName);
    return Author + " - " + Title;
}

}  // namespace qel
