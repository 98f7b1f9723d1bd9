#pragma once
// MPEGplus files: the 12-byte stream header of versions 4 to 7 behind an ID3v2
// tag, or the header packets of version 8 ("MPCK"), and the file's ID3v1,
// ID3v2 and APE tags.
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

// The stream version a header carries: 4, 5, 6, 7 or 8; 0 when none.
uint8_t StreamVersionOf(const MpcHeader& header);

// What the header packets of a version 8 stream say.
struct Mpc8Stream {
    bool found = false;     // a stream header packet of version 8 was read whole
    uint64_t samples = 0;   // samples coded
    uint64_t silence = 0;   // samples at the start that are not played
    uint32_t sampleRate = 0;
    uint8_t channels = 0;
    bool midSide = false;
    uint8_t profileByte = 0;  // the profile in the version 7 header's form; 0 without encoder info
};

// Walks the packets that follow "MPCK" at start, up to the first audio
// packet: a two-letter key, a size in 7-bit groups and the contents. Sizes
// are distrusted: a packet that cannot hold its own key and size, a key that
// is not two capital letters or a size past the end of the file ends the
// walk, as does the packet limit.
Mpc8Stream ReadMpc8Packets(BinaryFile& file, int64_t start);

class TMPEGplus : public Ttag {
public:
    explicit TMPEGplus(FileOpener& files = SystemFiles());

    bool Open(const std::string& fileName) override;
    void FillSoundInfo(Tinfosound& out) override;
    void FillTagInfo(Tinfotag& out) override;
    std::string ArtistTitle(const std::string& fileName) override;

    bool Valid = false;
    uint8_t ChannelModeId = 0;  // 0 unknown, 1 stereo, 2 joint stereo, 3 mono, 4 more than two channels
    int32_t FileLength = 0;
    int32_t FrameCount = 0;
    uint16_t HeaderBitRate = 0;  // kbit/s; 0 when the version stores none
    uint8_t StreamVersion = 0;
    uint8_t ProfileId = 0;
    uint32_t SampleRate = 0;     // Hz
    uint64_t PlayedSamples = 0;  // version 8: the samples coded less the silence at the start
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
    void TakeStream(const Mpc8Stream& stream);
    // The file's bytes less its tags.
    int64_t AudioBytes() const;
};

}  // namespace qel
