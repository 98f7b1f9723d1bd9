#pragma once
// Ogg Opus files: channels and the input sample rate from the identification
// header ("OpusHead"), the comments of "OpusTags" read as Vorbis comments,
// and the play time from the granule position of the last page.
#include <cstdint>
#include <string>

#include "readers/OggComments.h"
#include "readers/virtualtag.h"

namespace qel {

class TOggOpus : public Ttag {
public:
    static constexpr double kGranuleRate = 48000;  // granule positions count 48 kHz samples
    // The last page header begins within the longest page's size of the end.
    static constexpr int64_t kLastPageSearch = 27 + 255 + 255 * 255;

    explicit TOggOpus(FileOpener& files = SystemFiles());

    bool Open(const std::string& fileName) override;
    void FillSoundInfo(Tinfosound& out) override;
    void FillTagInfo(Tinfotag& out) override;
    std::string ArtistTitle(const std::string& fileName) override;

    double DurationSeconds() const;
    int64_t BitRateKbps() const;
    uint32_t SampleRate() const;  // the input rate, 48000 when the header leaves it open

    int64_t FileLength = 0;
    uint8_t Channels = 0;
    uint16_t PreSkip = 0;          // samples at 48 kHz the decoder drops
    uint32_t InputSampleRate = 0;  // of the source, 0 when not given
    int64_t AudioStart = 0;        // where the page after the comment packet begins
    int64_t LastGranule = -1;      // of the page nearest the end, -1 when none
    OggCommentTexts Tags;

private:
    bool ReadFields(const std::string& fileName) override;
    void ResetFields() override;
};

}  // namespace qel
