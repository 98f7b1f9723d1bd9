#pragma once
// RIFF WAVE files: channel count, sample rate, sample width and play time
// from the canonical 44-byte header, and the "data" chunk's size where other
// chunks follow the audio.
#include <cstdint>
#include <optional>
#include <string>

#include "readers/virtualtag.h"

namespace qel {

class TWAVfile : public Ttag {
public:
    static constexpr size_t kHeaderSize = 44;
    static constexpr int kMaxChunks = 64;  // chunk headers looked at for "data"

    explicit TWAVfile(FileOpener& files = SystemFiles());

    bool Open(const std::string& fileName) override;
    // Throws std::domain_error when the header's rate or sample width is 0.
    void FillSoundInfo(Tinfosound& out) override;
    void FillTagInfo(Tinfotag& out) override;
    std::string ArtistTitle(const std::string& fileName) override;

    double DurationSeconds() const;
    const char* ChannelText() const;

    bool Valid = false;
    uint8_t ChannelCount = 0;
    uint32_t SampleRate = 0;  // Hz, all 32 bits of the header's field
    uint8_t BitsPerSample = 0;
    uint32_t FileLength = 0;  // RIFF chunk size + 8
    // The "data" chunk's size when chunks follow it inside the RIFF chunk (a
    // tag, a picture): then it, not the RIFF size, tells the audio's length.
    std::optional<uint32_t> DataSize;

private:
    bool ReadFields(const std::string& fileName) override;
    void ResetFields() override;
    // The kHeaderSize bytes at header.
    void ParseHeader(const uint8_t* header);
    std::optional<uint32_t> TrailedDataSize(BinaryFile& file, const uint8_t* first) const;
};

}  // namespace qel
