#include "readers/WAVfile.h"

#include <algorithm>
#include <cstring>
#include <span>

#include "readers/ByteOrder.h"
#include "readers/TextForms.h"

namespace qel {

namespace {

// The canonical header's fields.
constexpr size_t kRiffMark = 0;
constexpr size_t kRiffSize = 4;
constexpr size_t kWaveMark = 8;
constexpr size_t kFormatMark = 12;
constexpr size_t kChannels = 22;
constexpr size_t kSampleRate = 24;
constexpr size_t kBitsPerSample = 34;
constexpr size_t kChunkHeaderSize = 8;  // id, little-endian size

bool HasText(const uint8_t* p, const char (&text)[5]) { return std::memcmp(p, text, 4) == 0; }

bool IsIdChar(uint8_t c) { return c >= 0x20 && c <= 0x7E; }

const char* const kChannelTexts[] = {"Unknown", "Mono", "Stereo"};

}  // namespace

TWAVfile::TWAVfile(FileOpener& files) : Ttag(files) { ClearFields(); }

void TWAVfile::ResetFields() {
    Valid = false;
    ChannelCount = 0;
    SampleRate = 0;
    BitsPerSample = 0;
    FileLength = 0;
    DataSize.reset();
}

bool TWAVfile::ReadFields(const std::string& fileName) {
    try {
        auto file = files().OpenRead(fileName, ShareMode::AllowWriters);
        if (!file) return false;
        uint8_t scratch[kHeaderSize];
        const auto header = file->View(0, scratch);
        if (header.size() < kHeaderSize) return false;
        uint8_t first[kHeaderSize];
        std::copy(header.begin(), header.begin() + kHeaderSize, first);
        ParseHeader(first);
        if (Valid) DataSize = TrailedDataSize(*file, first);
    } catch (...) {
        return false;
    }
    return true;
}

void TWAVfile::ParseHeader(const uint8_t* header) {
    const uint16_t channels = LoadLE16(header + kChannels);
    if (!HasText(header + kRiffMark, "RIFF") || !HasText(header + kWaveMark, "WAVE") ||
        !HasText(header + kFormatMark, "fmt ") || (channels != 1 && channels != 2))
        return;
    Valid = true;
    ChannelCount = static_cast<uint8_t>(channels);
    SampleRate = LoadLE32(header + kSampleRate);
    BitsPerSample = header[kBitsPerSample];
    FileLength = LoadLE32(header + kRiffSize) + 8;  // 32 bits: wraps for chunk sizes within 8 of 4 GiB
}

// Walks the chunks behind "WAVE" to "data", at most kMaxChunks of them, and
// looks for a chunk behind it inside the RIFF chunk. Chunk headers within the
// first kHeaderSize bytes are taken from them.
std::optional<uint32_t> TWAVfile::TrailedDataSize(BinaryFile& file, const uint8_t* first) const {
    uint8_t scratch[kChunkHeaderSize];
    auto chunkAt = [&](int64_t position) {
        if (position + kChunkHeaderSize <= kHeaderSize)
            return std::span<const uint8_t>(first + position, kChunkHeaderSize);
        return file.View(position, scratch);
    };
    int64_t position = kFormatMark;
    for (int chunk = 0; chunk < kMaxChunks && position < int64_t{FileLength}; ++chunk) {
        const auto header = chunkAt(position);
        if (header.size() < kChunkHeaderSize) break;
        const uint32_t size = LoadLE32(header.data() + 4);
        // Chunks are padded to even sizes.
        position += static_cast<int64_t>(kChunkHeaderSize) + size + (size & 1);
        if (!HasText(header.data(), "data")) continue;
        if (position >= int64_t{FileLength}) break;
        const auto next = chunkAt(position);
        if (next.size() == kChunkHeaderSize && std::all_of(next.begin(), next.begin() + 4, IsIdChar)) return size;
        break;
    }
    return std::nullopt;
}

bool TWAVfile::Open(const std::string& fileName) {
    if (ReadInfo(fileName) && Valid) TypeName = "wav";
    return Valid;
}

// The bytes behind the 44-byte header are the audio, unless chunks follow
// the "data" chunk; computed without 32-bit wrap-around, and a header
// claiming less than 44 bytes gives 0.
double TWAVfile::DurationSeconds() const {
    if (!Valid) return 0;
    const uint64_t audioBytes = DataSize ? *DataSize : FileLength > kHeaderSize ? FileLength - kHeaderSize : 0;
    const uint64_t audioBits = audioBytes * 8;
    return Divide(Divide(Divide(static_cast<double>(audioBits), SampleRate), BitsPerSample), ChannelCount);
}

const char* TWAVfile::ChannelText() const { return ChannelCount <= 2 ? kChannelTexts[ChannelCount] : ""; }

void TWAVfile::FillSoundInfo(Tinfosound& out) {
    ClearSoundInfo();
    InfoSound.samplrate = IntText(SampleRate);
    InfoSound.filelen = IntText(FileLength);
    InfoSound.duration = RealText(DurationSeconds());
    InfoSound.cnanmod = ChannelText();
    InfoSound.cnanmodid = IntText(ChannelCount);
    InfoSound.bitpersamp = IntText(BitsPerSample);
    out = InfoSound;
}

void TWAVfile::FillTagInfo(Tinfotag& out) {
    ClearTagInfo();
    out = InfoTag;
}

std::string TWAVfile::ArtistTitle(const std::string&) { return " - "; }

}  // namespace qel
