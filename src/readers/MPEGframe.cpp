#include "readers/MPEGframe.h"

#include <algorithm>
#include <cstring>

#include "readers/ByteOrder.h"
#include "readers/TextForms.h"

namespace qel {
namespace {

// Kbit/s, indexed by VersionId, LayerId and BitRateIndex. Version 2.5 uses
// the rows of version 2; reserved rows and indices 0 and 15 are 0.
constexpr uint16_t kBitRates[4][4][16] = {
    {   // version 2.5
        {},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
    },
    {{}, {}, {}, {}},  // reserved version
    {   // version 2
        {},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
    },
    {   // version 1
        {},
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
        {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
    },
};

// Indexed by VersionId and SampleRateIndex.
constexpr uint16_t kSampleRates[4][4] = {
    {11025, 12000, 8000, 0},
    {0, 0, 0, 0},
    {22050, 24000, 16000, 0},
    {44100, 48000, 32000, 0},
};

// Samples per frame / 8, indexed by VersionId and LayerId.
constexpr uint16_t kCoefficients[4][4] = {
    {0, 72, 144, 48},
    {0, 0, 0, 0},
    {0, 72, 144, 48},
    {0, 144, 144, 48},
};

// Bytes a padded frame adds, indexed by LayerId.
constexpr uint16_t kPaddingBytes[4] = {0, 1, 1, 4};

// Offset of a VBR header from the frame header, indexed by VersionId and
// whether the frame is mono.
constexpr uint16_t kSideInfoOffsets[4][2] = {
    {21, 13},
    {21, 13},
    {21, 13},
    {36, 21},
};

constexpr const char* kVersionTexts[4] = {"MPEG 2.5", "MPEG ?", "MPEG 2", "MPEG 1"};
constexpr const char* kLayerTexts[4] = {"Layer ?", "Layer III", "Layer II", "Layer I"};
constexpr const char* kEmphasisTexts[4] = {"None", "50/15 ms", "Unknown", "CCIT J.17"};
constexpr const char* kChannelModeTexts[5] = {"Stereo", "Joint Stereo", "Dual Channel", "Mono", "Unknown"};
constexpr const char* kEncoderTexts[8] = {"Unknown", "Xing", "FhG", "LAME", "Blade", "GoGo", "Shine", "QDesign"};

enum EncoderIds : uint8_t { kUnknown, kXing, kFhG, kLame, kBlade, kGoGo, kShine, kQDesign };

constexpr uint8_t kModeStereo = 0;
constexpr uint8_t kModeDual = 2;
constexpr uint8_t kModeMono = 3;
constexpr uint8_t kLayerII = 2;

template <size_t N>
const char* TextAt(const char* const (&table)[N], size_t index, const char* otherwise) {
    return index < N ? table[index] : otherwise;
}

bool MarkAt(MpegBlockView block, size_t at, const char (&mark)[5]) {
    return at + 4 <= block.size() && std::equal(mark, mark + 4, block.begin() + static_cast<ptrdiff_t>(at));
}

bool HeaderAt(MpegBlockView block, size_t at) {
    return at + 4 <= block.size() && HeaderValid(std::span<const uint8_t, 4>(block.data() + at, 4));
}

// The bytes of a stream that count as audio for a constant-bit-rate file.
int64_t AudioBytes(const MpegStreamFacts& s) {
    return int64_t{s.FileLength} - s.AudioStart - (s.HasID3v1 ? 128 : 0) - s.Frame.Position;
}

bool UsesVbrFrames(const MpegStreamFacts& s) { return s.Vbr.Found && s.Vbr.Frames > 0; }

// Constant-rate streams count their frames in an "Info" header laid out as
// "Xing"; it says nothing about the encoder or a varying rate.
constexpr char kInfoId[] = "Info";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

MpegFrameInfo MpegFrameInfo::Cleared() {
    MpegFrameInfo f;
    f.VersionId = 1;
    f.SampleRateIndex = 3;
    f.ModeId = 4;
    f.ModeExtension = 4;
    f.EmphasisId = 2;
    return f;
}

const char* VersionText(uint8_t versionId) { return TextAt(kVersionTexts, versionId, "MPEG ?"); }
const char* LayerText(uint8_t layerId) { return TextAt(kLayerTexts, layerId, "Layer ?"); }
const char* EmphasisText(uint8_t emphasisId) { return TextAt(kEmphasisTexts, emphasisId, "Unknown"); }
const char* ChannelModeText(uint8_t modeId) { return TextAt(kChannelModeTexts, modeId, "Unknown"); }
const char* EncoderIdText(uint8_t encoderId) { return TextAt(kEncoderTexts, encoderId, "Unknown"); }

uint16_t TableBitRate(const MpegFrameInfo& f) {
    if (f.VersionId > 3 || f.LayerId > 3 || f.BitRateIndex > 15) return 0;
    return kBitRates[f.VersionId][f.LayerId][f.BitRateIndex];
}

uint16_t TableSampleRate(const MpegFrameInfo& f) {
    if (f.VersionId > 3 || f.SampleRateIndex > 3) return 0;
    return kSampleRates[f.VersionId][f.SampleRateIndex];
}

uint16_t FrameCoefficient(const MpegFrameInfo& f) {
    if (f.VersionId > 3 || f.LayerId > 3) return 0;
    return kCoefficients[f.VersionId][f.LayerId];
}

uint16_t PaddingLength(const MpegFrameInfo& f) {
    if (!f.Padded || f.LayerId > 3) return 0;
    return kPaddingBytes[f.LayerId];
}

uint16_t SideInfoOffset(const MpegFrameInfo& f) {
    return kSideInfoOffsets[f.VersionId & 3][f.ModeId == kModeMono ? 1 : 0];
}

bool HeaderValid(std::span<const uint8_t, 4> b) {
    return b[0] == 0xFF && (b[1] & 0xE0) == 0xE0 && ((b[1] >> 3) & 3) != 1 && ((b[1] >> 1) & 3) != 0 &&
           (b[2] >> 4) != 15 && (b[2] >> 4) != 0 && ((b[2] >> 2) & 3) != 3 && (b[3] & 3) != 2;
}

void DecodeHeader(std::span<const uint8_t, 4> b, MpegFrameInfo& f) {
    std::copy(b.begin(), b.end(), f.HeaderBytes.begin());
    f.VersionId = (b[1] >> 3) & 3;
    f.LayerId = (b[1] >> 1) & 3;
    f.Protected = (b[1] & 1) == 0;
    f.BitRateIndex = b[2] >> 4;
    f.SampleRateIndex = (b[2] >> 2) & 3;
    f.Padded = (b[2] & 2) != 0;
    f.PrivateBit = (b[2] & 1) != 0;
    f.ModeId = b[3] >> 6;
    f.ModeExtension = (b[3] >> 4) & 3;
    f.CopyrightBit = (b[3] & 8) != 0;
    f.OriginalBit = (b[3] & 4) != 0;
    f.EmphasisId = b[3] & 3;
}

uint16_t FrameLength(const MpegFrameInfo& f) {
    uint16_t sampleRate = TableSampleRate(f);
    if (sampleRate == 0) return 0;
    uint32_t scaled = uint32_t{FrameCoefficient(f)} * TableBitRate(f) * 1000;
    auto bytes = static_cast<uint32_t>(static_cast<double>(scaled) / sampleRate);
    return static_cast<uint16_t>(bytes + PaddingLength(f));
}

MpegFrameInfo FindFirstFrame(MpegBlockView block, VbrInfo& vbr) {
    MpegFrameInfo frame;
    vbr = VbrInfo{};
    for (size_t p = 0; p <= kMpegSearchEnd; ++p) {
        // Every header starts with a 0xFF byte: skip straight to the next one.
        const void* sync = std::memchr(block.data() + p, 0xFF, kMpegSearchEnd + 1 - p);
        if (!sync) break;
        p = static_cast<size_t>(static_cast<const uint8_t*>(sync) - block.data());
        if (!HeaderAt(block, p)) continue;
        DecodeHeader(std::span<const uint8_t, 4>(block.data() + p, 4), frame);
        uint16_t length = FrameLength(frame);
        auto next = static_cast<uint16_t>(p + length);
        if (!HeaderAt(block, next)) continue;
        frame.Found = true;
        frame.Position = static_cast<int32_t>(p);
        frame.FrameSize = length;
        frame.ZeroRun = std::all_of(block.begin() + static_cast<ptrdiff_t>(p) + 4,
                                    block.begin() + static_cast<ptrdiff_t>(p) + 10,
                                    [](uint8_t b) { return b == 0; });
        vbr = ReadVbrHeader(block, p + SideInfoOffset(frame));
        return frame;
    }
    return frame;
}

VbrInfo ReadVbrHeader(MpegBlockView block, size_t q) {
    VbrInfo vbr;
    const bool info = MarkAt(block, q, kInfoId);
    if ((info || MarkAt(block, q, "Xing")) && q + 128 <= block.size()) {
        vbr.Found = true;
        vbr.Id = info ? kInfoId : "Xing";
        vbr.Frames = static_cast<int32_t>(LoadBE32(block.data() + q + 8));
        vbr.Bytes = static_cast<int32_t>(LoadBE32(block.data() + q + 12));
        vbr.Scale = block[q + 119];
        vbr.Vendor.assign(block.begin() + static_cast<ptrdiff_t>(q) + 120,
                          block.begin() + static_cast<ptrdiff_t>(q) + 128);
    } else if (MarkAt(block, q, "VBRI") && q + 18 <= block.size()) {
        vbr.Found = true;
        vbr.Id = "VBRI";
        vbr.Scale = block[q + 9];
        vbr.Bytes = static_cast<int32_t>(LoadBE32(block.data() + q + 10));
        vbr.Frames = static_cast<int32_t>(LoadBE32(block.data() + q + 14));
    }
    return vbr;
}

bool IsVbrHeader(const VbrInfo& vbr) { return vbr.Found && vbr.Id != kInfoId; }

std::string FindVendorText(MpegBlockView block, int32_t span) {
    constexpr int32_t kLast = static_cast<int32_t>(kMpegBlockSize) - 8;
    span = std::clamp(span, 0, kLast);
    for (int32_t i = 0; i <= span; ++i) {
        auto k = static_cast<size_t>(kLast - i);
        if (MarkAt(block, k, "LAME")) return std::string(block.begin() + static_cast<ptrdiff_t>(k),
                                                          block.begin() + static_cast<ptrdiff_t>(k) + 8);
        if (MarkAt(block, k, "GOGO")) return "GOGO";
    }
    return {};
}

uint16_t BitRateKbps(const MpegStreamFacts& s) {
    if (!UsesVbrFrames(s)) return TableBitRate(s.Frame);
    uint16_t coefficient = FrameCoefficient(s.Frame);
    if (coefficient == 0) return 0;
    // The frame count of an "Info" header leaves out the frame that holds
    // it, which low-rate streams code at a higher rate so the header fits:
    // its bytes are left out too.
    double perFrame = IsVbrHeader(s.Vbr)
                          ? static_cast<double>(s.Vbr.Bytes) / s.Vbr.Frames - PaddingLength(s.Frame)
                          : (static_cast<double>(s.Vbr.Bytes) - s.Frame.FrameSize) / s.Vbr.Frames;
    double kbps = perFrame * TableSampleRate(s.Frame) / coefficient / 1000;
    return static_cast<uint16_t>(RoundTiesEven(kbps));
}

int64_t FrameCount(const MpegStreamFacts& s) {
    if (IsVbrHeader(s.Vbr) || UsesVbrFrames(s)) return s.Vbr.Frames;
    uint16_t length = FrameLength(s.Frame);
    return length == 0 ? 0 : AudioBytes(s) / length;
}

double DurationSeconds(const MpegStreamFacts& s) {
    uint16_t sampleRate = TableSampleRate(s.Frame);
    uint16_t bitRate = TableBitRate(s.Frame);
    if (!s.Frame.Found || sampleRate == 0 || bitRate == 0) return 0;
    if (UsesVbrFrames(s)) {
        // A 32-bit product: it wraps for absurd frame counts, as stored.
        auto samples = static_cast<int32_t>(uint32_t{FrameCoefficient(s.Frame)} *
                                            static_cast<uint32_t>(s.Vbr.Frames) * 8u);
        return static_cast<double>(samples) / sampleRate;
    }
    return static_cast<double>(AudioBytes(s)) / bitRate / 1000 * 8;
}

uint8_t EncoderId(const MpegStreamFacts& s) {
    const MpegFrameInfo& f = s.Frame;
    if (!f.Found) return kUnknown;
    if (IsVbrHeader(s.Vbr)) {
        std::string v = s.Vbr.Vendor.substr(0, 4);
        uint8_t id = kUnknown;
        if (v == "LAME") id = kLame;
        if (v == "GOGO" || v == "MPGE") id = kGoGo;
        if (s.Vbr.Id == "Xing" && v != "LAME" && v != "GOGO" && v != "MPGE") id = kXing;
        if (s.Vbr.Id == "VBRI") id = kFhG;
        return id;
    }
    std::string t = s.VendorText.substr(0, 4);
    uint8_t id = kFhG;
    if (f.OriginalBit && f.Protected) id = kLame;
    if (TableBitRate(f) <= 160 && f.ModeId == kModeStereo) id = kBlade;
    if (f.CopyrightBit && f.OriginalBit && !f.Protected) id = kXing;
    if (f.ZeroRun && f.OriginalBit) id = kXing;
    if (f.LayerId == kLayerII) id = kQDesign;
    if (f.ModeId == kModeDual && f.Protected) id = kShine;
    if (t == "LAME") id = kLame;
    if (t == "GOGO") id = kGoGo;
    return id;
}

std::string EncoderText(const MpegStreamFacts& s) {
    uint8_t id = EncoderId(s);
    std::string text = EncoderIdText(id);
    const std::string& v = s.VendorText.empty() && IsVbrHeader(s.Vbr) ? s.Vbr.Vendor : s.VendorText;
    if (id == kLame && v.size() >= 8 && IsDigit(v[4]) && v[5] == '.' && IsDigit(v[6]) && IsDigit(v[7]))
        text.append(1, ' ').append(v, 4, 4);
    return text;
}

bool IsValidStream(const MpegStreamFacts& s) {
    uint16_t bitRate = BitRateKbps(s);
    return s.Frame.Found && bitRate >= 8 && bitRate <= 448 && DurationSeconds(s) >= 0.1;
}

}  // namespace qel
