#pragma once
// MPEGplus files (stream versions 4 to 7): the 12-byte stream header behind
// an ID3v2 tag, and the file's ID3v1, ID3v2 and APE tags.
#include <cstddef>
#include <cstdint>
#include <string>

#include "readers/APEtag.h"
#include "readers/ID3v1.h"
#include "readers/ID3v2.h"
#include "readers/virtualtag.h"

namespace qel {

// The stream header as read: 12 bytes, also seen as three little-endian words.
struct MpcHeader {
    static constexpr size_t kSize = 12;
    uint8_t bytes[kSize] = {};
    uint32_t Word(size_t index) const;
    int32_t fileSize = 0;
    int32_t id3v2Size = 0;
};

// The stream version a header carries: 4, 5, 6 or 7; 0 when none.
uint8_t StreamVersionOf(const MpcHeader& header);

class TMPEGplus : public Ttag {
public:
    explicit TMPEGplus(FileOpener& files = SystemFiles());

    bool Open(const std::string& fileName) override;
    void FillSoundInfo(Tinfosound& out) override;
    void FillTagInfo(Tinfotag& out) override;
    std::string ArtistTitle(const std::string& fileName) override;

    bool Valid = false;
    uint8_t ChannelModeId = 0;  // 0 unknown, 1 stereo, 2 joint stereo
    int32_t FileLength = 0;
    int32_t FrameCount = 0;
    uint16_t HeaderBitRate = 0;  // kbit/s; 0 when the version stores none
    uint8_t StreamVersion = 0;
    uint8_t ProfileId = 0;
    TID3v1 ID3v1;
    TID3v2 ID3v2;
    TAPEtag APE;

    // kbit/s: the header's, or computed from the audio's size and the frames.
    int64_t BitRateKbps() const;
    double DurationSeconds() const;
    std::string ChannelText() const;
    std::string ProfileText() const;

private:
    // ReadInfo is true when 12 header bytes could be read, whatever they hold; never throws.
    bool ReadFields(const std::string& fileName) override;
    void ResetFields() override;
    void TakeHeader(const MpcHeader& header);
};

}  // namespace qel
