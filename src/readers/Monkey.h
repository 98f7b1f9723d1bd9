#pragma once
// Monkey's Audio files: the "MAC " header at the start of the file (before
// version 3.98 the header and the tail of the WAV header stored behind it;
// from then on a descriptor and the header it points to), and the file's
// ID3v1 tag. TMonkeyApe adds the APE tag that the ".ape" files carry.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "readers/APEtag.h"
#include "readers/ID3v1.h"
#include "readers/virtualtag.h"

namespace qel {

class TMonkey : public Ttag {
public:
    static constexpr size_t kHeaderSize = 40;
    static constexpr size_t kWavTailSize = 36;
    static constexpr size_t kDescribedHeaderSize = 24;

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
    uint8_t MacHeader[kHeaderSize] = {};  // from 3.98 on: the descriptor's first bytes
    uint8_t WavTail[kWavTailSize] = {};
    // From version 3.98 on: the header the descriptor points to.
    bool Described = false;
    uint8_t DescribedHeader[kDescribedHeaderSize] = {};
    TID3v1 ID3v1;

    // The header's numbers, from either layout.
    uint16_t VersionField() const;
    uint16_t CompressionLevel() const;
    uint16_t Flags() const;
    uint16_t ChannelCount() const;
    int32_t SampleRate() const;
    uint32_t WavHeaderLength() const;
    int32_t PeakLevel() const;
    double DataSize() const;       // bytes of the uncompressed audio
    uint64_t TotalBlocks() const;  // samples per channel, from 3.98 on

    bool IsValidStream() const;
    int BitsPerSample() const;
    std::string VersionText() const;
    std::string CompressionText() const;
    std::string ChannelText() const;
    double PeakPercent() const;
    double DurationSeconds() const;
    double RatioPercent() const;

protected:
    // ReadInfo is true when every read succeeded, whatever the header holds; never throws.
    bool ReadFields(const std::string& fileName) override;
    void ResetFields() override;

private:
    bool HasFlag(uint16_t flag) const { return (Flags() & flag) != 0; }
    void ReadStream(const std::string& fileName);
    // A number of the header at its offset in the layout the file has.
    uint32_t HeaderField(size_t size, size_t before398, size_t described) const;
};

// A Monkey's Audio file as ".ape" files are: the stream and its tags, the APE
// tag included, whose fields join the record and give the display title.
class TMonkeyApe : public TMonkey {
public:
    explicit TMonkeyApe(FileOpener& files = SystemFiles());

    void FillTagInfo(Tinfotag& out) override;
    // The APE tag's artist and title, else the ID3v1 ones, else empty.
    std::string ArtistTitle(const std::string& fileName) override;

    // The APE tag reader, made when a stream is found (most ".ape" files
    // without one are bare tags, which the next analyser reads).
    std::optional<TAPEtag> APE;

private:
    bool ReadFields(const std::string& fileName) override;
    void ResetFields() override;
};

}  // namespace qel
