#pragma once
// Ogg Vorbis files: stream properties from the identification header, the
// comments from the comment header and the play time from the granule
// position of the last page near the end of the file.
#include <cstdint>
#include <string>

#include "readers/virtualtag.h"

namespace qel {

class TOggVorbis : public Ttag {
public:
    explicit TOggVorbis(FileOpener& files = SystemFiles());

    bool Open(const std::string& fileName) override;
    void FillSoundInfo(Tinfosound& out) override;
    void FillTagInfo(Tinfotag& out) override;
    std::string ArtistTitle(const std::string& fileName) override;

    double DurationSeconds() const;
    int64_t BitRateKbps() const;
    bool IsValidStream() const;
    std::string ChannelText() const;

    int32_t FileLength = 0;      // low 32 bits of the file size
    uint8_t Channels = 0;
    uint32_t SampleRate = 0;     // the header's full 32-bit value
    uint16_t NominalKbps = 0;
    int32_t TotalSamples = 0;    // granule position of the last page, low 32 bits
    int32_t LeadingTagSize = 0;  // ID3v2 tag in front of the Ogg data
    std::string Title, Artist, Album;
    uint16_t Track = 0;          // 0..255
    std::string Date, Genre, Comment, Vendor;

private:
    bool ReadFields(const std::string& fileName) override;
    void ResetFields() override;
};

}  // namespace qel
