#pragma once
// MPEG audio frame headers, the variable-bit-rate headers of a first frame,
// the encoder marks near the end of a stream, and the figures derived from
// them. Pure functions over byte blocks: no file access here.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace qel {

// Every read of the stream takes one block of this size (twice the largest
// version 1 frame).
constexpr size_t kMpegBlockSize = 3458;
// The last start position the first-frame search tries in a block.
constexpr size_t kMpegSearchEnd = kMpegBlockSize - 1729;

using MpegBlock = std::array<uint8_t, kMpegBlockSize>;
// A block as the functions below look at it: a file's bytes in place or a MpegBlock.
using MpegBlockView = std::span<const uint8_t, kMpegBlockSize>;

struct MpegFrameInfo {
    bool Found = false;
    int32_t Position = 0;  // offset of the header inside the block searched
    uint16_t FrameSize = 0;
    bool ZeroRun = false;  // the six bytes after the header are all zero
    std::array<uint8_t, 4> HeaderBytes{};
    uint8_t VersionId = 0;  // 0 = 2.5, 1 = reserved, 2 = version 2, 3 = version 1
    uint8_t LayerId = 0;    // 0 = reserved, 1 = III, 2 = II, 3 = I
    bool Protected = false;
    uint16_t BitRateIndex = 0;
    uint16_t SampleRateIndex = 0;
    bool Padded = false;
    bool PrivateBit = false;
    uint8_t ModeId = 0;  // 0 stereo, 1 joint stereo, 2 dual channel, 3 mono
    uint8_t ModeExtension = 0;
    bool CopyrightBit = false;
    bool OriginalBit = false;
    uint8_t EmphasisId = 0;

    // The state of an object that has read nothing: the texts read as unknown.
    static MpegFrameInfo Cleared();
};

struct VbrInfo {
    bool Found = false;
    std::string Id;  // "Xing", "VBRI", or "Info" (a constant-rate stream's counts)
    int32_t Frames = 0;
    int32_t Bytes = 0;
    uint8_t Scale = 0;
    std::string Vendor;  // eight characters after a Xing header, zero bytes kept
};

// Text tables.
const char* VersionText(uint8_t versionId);
const char* LayerText(uint8_t layerId);
const char* EmphasisText(uint8_t emphasisId);
const char* ChannelModeText(uint8_t modeId);  // 4 and above: "Unknown"
const char* EncoderIdText(uint8_t encoderId);  // 8 and above: "Unknown"

// Number tables of a decoded header; 0 for reserved or out-of-range entries.
uint16_t TableBitRate(const MpegFrameInfo& frame);   // kbit/s
uint16_t TableSampleRate(const MpegFrameInfo& frame);  // Hz
uint16_t FrameCoefficient(const MpegFrameInfo& frame);  // samples per frame / 8
uint16_t PaddingLength(const MpegFrameInfo& frame);
uint16_t SideInfoOffset(const MpegFrameInfo& frame);

bool HeaderValid(std::span<const uint8_t, 4> header);
void DecodeHeader(std::span<const uint8_t, 4> header, MpegFrameInfo& frame);
// Frame length in bytes of a decoded header; 0 when its sample rate is 0.
uint16_t FrameLength(const MpegFrameInfo& frame);

// Searches the first kMpegSearchEnd + 1 positions of a block for a valid
// header followed, one frame length later, by another valid header. When a
// frame is found, `vbr` holds the variable-bit-rate header read inside it.
MpegFrameInfo FindFirstFrame(MpegBlockView block, VbrInfo& vbr);
VbrInfo ReadVbrHeader(MpegBlockView block, size_t offset);
// A "Xing" or "VBRI" header. An "Info" header gives the frame and byte counts
// alone: the stream keeps the constant-rate encoder guess and end-of-stream
// mark search.
bool IsVbrHeader(const VbrInfo& vbr);

// Looks backwards from the last eight bytes of a block, over `span` + 1
// positions at most, for "LAME" plus four characters or for "GOGO".
std::string FindVendorText(MpegBlockView block, int32_t span);

// What the figures of a stream depend on besides its first frame.
struct MpegStreamFacts {
    MpegFrameInfo Frame;
    VbrInfo Vbr;
    int32_t FileLength = 0;
    int32_t AudioStart = 0;  // size of a leading ID3v2 tag
    bool HasID3v1 = false;
    std::string VendorText;
};

uint16_t BitRateKbps(const MpegStreamFacts& s);
int64_t FrameCount(const MpegStreamFacts& s);
double DurationSeconds(const MpegStreamFacts& s);
uint8_t EncoderId(const MpegStreamFacts& s);
std::string EncoderText(const MpegStreamFacts& s);  // with the version of a LAME mark
bool IsValidStream(const MpegStreamFacts& s);

}  // namespace qel
