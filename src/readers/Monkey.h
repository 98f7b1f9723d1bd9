#pragma once
// Monkey's Audio files: the "MAC " header at the start of the file, the tail
// of the WAV header stored behind it, and the file's ID3v1 tag.
#include <cstddef>
#include <cstdint>
#include <string>

#include "readers/ID3v1.h"
#include "readers/virtualtag.h"

namespace qel {

class TMonkey : public Ttag {
public:
    static constexpr size_t kHeaderSize = 40;
    static constexpr size_t kWavTailSize = 36;

    // Format flags of the header.
    static constexpr uint16_t kFlag8Bit = 0x01;
    static constexpr uint16_t kFlagPeakLevel = 0x04;
    static constexpr uint16_t kFlag24Bit = 0x08;
    static constexpr uint16_t kFlagSeekElements = 0x10;
    static constexpr uint16_t kFlagNoWavHeader = 0x20;

    explicit TMonkey(FileOpener& files = SystemFiles());

    bool Open(const std::string& fileName) override;
    void FillSoundInfo(Tinfosound& out) override;
    void FillTagInfo(Tinfotag& out) override;
    // The ID3v1 artist and title, or empty.
    std::string ArtistTitle(const std::string& fileName) override;

    int32_t FileLength = 0;
    uint8_t MacHeader[kHeaderSize] = {};
    uint8_t WavTail[kWavTailSize] = {};
    TID3v1 ID3v1;

    // The header's numbers.
    uint16_t VersionField() const;
    uint16_t CompressionLevel() const;
    uint16_t Flags() const;
    uint16_t ChannelCount() const;
    int32_t SampleRate() const;
    uint32_t WavHeaderLength() const;
    int32_t PeakLevel() const;
    int32_t DataSize() const;

    bool IsValidStream() const;
    int BitsPerSample() const;
    std::string VersionText() const;
    std::string CompressionText() const;
    std::string ChannelText() const;
    double PeakPercent() const;
    double DurationSeconds() const;
    double RatioPercent() const;

private:
    // ReadInfo is true when every read succeeded, whatever the header holds; never throws.
    bool ReadFields(const std::string& fileName) override;
    void ResetFields() override;
    bool HasFlag(uint16_t flag) const { return (Flags() & flag) != 0; }
    void ReadStream(const std::string& fileName);
};

}  // namespace qel
