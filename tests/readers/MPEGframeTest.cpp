#include "readers/MPEGframe.h"

#include <gtest/gtest.h>

#include "support/MpegStreams.h"

namespace qel {
namespace {

using test::Bytes;
using test::FrameShape;

MpegFrameInfo Decoded(const FrameShape& shape) {
    auto bytes = test::HeaderOf(shape);
    MpegFrameInfo f;
    DecodeHeader(bytes, f);
    return f;
}

bool Valid(const FrameShape& shape) { return HeaderValid(test::HeaderOf(shape)); }

MpegBlock BlockOf(const Bytes& bytes) {
    MpegBlock block{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), block.size()), block.begin());
    return block;
}

Bytes Concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A stream fact set around a decoded first frame.
MpegStreamFacts FactsOf(const FrameShape& shape, int32_t fileLength = 100000) {
    MpegStreamFacts s;
    s.Frame = Decoded(shape);
    s.Frame.Found = true;
    s.Frame.FrameSize = FrameLength(s.Frame);
    s.FileLength = fileLength;
    return s;
}

MpegStreamFacts WithVbr(MpegStreamFacts s, const char* id, int32_t frames, int32_t bytes,
                        std::string vendor = {}) {
    s.Vbr.Found = true;
    s.Vbr.Id = id;
    s.Vbr.Frames = frames;
    s.Vbr.Bytes = bytes;
    s.Vbr.Vendor = std::move(vendor);
    return s;
}

TEST(MpegHeader, DecodesEveryFieldFromItsBits) {
    const uint8_t bytes[4] = {0xFF, 0xF2, 0xA7, 0x6F};  // every field non-zero
    MpegFrameInfo f;
    DecodeHeader(bytes, f);
    EXPECT_EQ(f.VersionId, 2);
    EXPECT_EQ(f.LayerId, 1);
    EXPECT_TRUE(f.Protected);
    EXPECT_EQ(f.BitRateIndex, 10);
    EXPECT_EQ(f.SampleRateIndex, 1);
    EXPECT_TRUE(f.Padded);
    EXPECT_TRUE(f.PrivateBit);
    EXPECT_EQ(f.ModeId, 1);
    EXPECT_EQ(f.ModeExtension, 2);
    EXPECT_TRUE(f.CopyrightBit);
    EXPECT_TRUE(f.OriginalBit);
    EXPECT_EQ(f.EmphasisId, 3);
    EXPECT_EQ(f.HeaderBytes, (std::array<uint8_t, 4>{0xFF, 0xF2, 0xA7, 0x6F}));
}

TEST(MpegHeader, ValidityRejectsEachReservedOrUnsupportedValue) {
    EXPECT_TRUE(Valid({}));
    EXPECT_FALSE(Valid({.version = 1}));
    EXPECT_FALSE(Valid({.layer = 0}));
    EXPECT_FALSE(Valid({.bitRateIndex = 0}));  // free format
    EXPECT_FALSE(Valid({.bitRateIndex = 15}));
    EXPECT_FALSE(Valid({.sampleRateIndex = 3}));
    EXPECT_FALSE(Valid({.emphasis = 2}));
    // Mode, mode extension and flags are not looked at.
    EXPECT_TRUE(Valid({.mode = 3, .modeExtension = 3, .emphasis = 3, .crc = true, .padded = true,
                       .privateBit = true, .copyright = true, .original = true}));
    const uint8_t noSync[4] = {0xFF, 0xDB, 0x90, 0x00};
    const uint8_t noLead[4] = {0xFE, 0xFB, 0x90, 0x00};
    EXPECT_FALSE(HeaderValid(noSync));
    EXPECT_FALSE(HeaderValid(noLead));
}

TEST(MpegHeader, TablesFollowVersionAndLayer) {
    EXPECT_EQ(TableBitRate(Decoded({.bitRateIndex = 14})), 320);
    EXPECT_EQ(TableBitRate(Decoded({.layer = 3, .bitRateIndex = 14})), 448);
    EXPECT_EQ(TableBitRate(Decoded({.layer = 2, .bitRateIndex = 14})), 384);
    EXPECT_EQ(TableBitRate(Decoded({.version = 2, .layer = 3, .bitRateIndex = 14})), 256);
    // Version 2.5 uses the rows of version 2.
    EXPECT_EQ(TableBitRate(Decoded({.version = 0, .bitRateIndex = 14})), 160);
    EXPECT_EQ(TableBitRate(Decoded({.version = 1, .bitRateIndex = 14})), 0);
    EXPECT_EQ(TableSampleRate(Decoded({.version = 0, .sampleRateIndex = 2})), 8000);
    EXPECT_EQ(TableSampleRate(Decoded({.version = 2, .sampleRateIndex = 1})), 24000);
    EXPECT_EQ(TableSampleRate(Decoded({.sampleRateIndex = 2})), 32000);
    EXPECT_EQ(SideInfoOffset(Decoded({})), 36);
    EXPECT_EQ(SideInfoOffset(Decoded({.mode = 3})), 21);
    EXPECT_EQ(SideInfoOffset(Decoded({.version = 2})), 21);
    EXPECT_EQ(SideInfoOffset(Decoded({.version = 0, .mode = 3})), 13);
}

TEST(MpegHeader, FrameLengthTruncatesAndAddsPadding) {
    EXPECT_EQ(FrameLength(Decoded({})), 417);
    EXPECT_EQ(FrameLength(Decoded({.padded = true})), 418);
    // Layer I pads by four bytes: 48 * 32000 / 44100 = 34.8.
    EXPECT_EQ(FrameLength(Decoded({.layer = 3, .bitRateIndex = 1, .padded = true})), 38);
    // Version 2 layer III has half the coefficient of version 1.
    EXPECT_EQ(FrameLength(Decoded({.version = 2, .bitRateIndex = 1})), 26);
    // The largest frames exceed a block: version 2.5, layer II, 160 kbit/s, 8000 Hz.
    EXPECT_EQ(FrameLength(Decoded({.version = 0, .layer = 2, .bitRateIndex = 14, .sampleRateIndex = 2})), 2880);
}

TEST(MpegFirstFrame, FoundOnlyWithAValidHeaderOneFrameLater) {
    const FrameShape shape;
    VbrInfo vbr;
    MpegFrameInfo f = FindFirstFrame(BlockOf(test::Frames(shape, 417, 3)), vbr);
    EXPECT_TRUE(f.Found);
    EXPECT_EQ(f.Position, 0);
    EXPECT_EQ(f.FrameSize, 417);
    EXPECT_FALSE(f.ZeroRun);
    EXPECT_FALSE(vbr.Found);

    // A lone header whose successor is not where its length says is skipped.
    Bytes decoy = test::Frames(shape, 300, 1);
    f = FindFirstFrame(BlockOf(Concat(decoy, test::Frames(shape, 417, 3))), vbr);
    EXPECT_TRUE(f.Found);
    EXPECT_EQ(f.Position, 300);

    // The successor only has to pass the header test, not match the first.
    Bytes mixed = Concat(test::Frames(shape, 417, 1, 0), test::Frames({.version = 2, .layer = 3}, 100, 1));
    f = FindFirstFrame(BlockOf(mixed), vbr);
    EXPECT_TRUE(f.Found);
    EXPECT_TRUE(f.ZeroRun);
}

TEST(MpegFirstFrame, SearchWindowEndsAtPosition1729) {
    const FrameShape shape;
    VbrInfo vbr;
    for (size_t lead : {size_t{1729}, size_t{1730}}) {
        Bytes stream = Concat(Bytes(lead, 0x20), test::Frames(shape, 417, 5));
        MpegFrameInfo f = FindFirstFrame(BlockOf(stream), vbr);
        EXPECT_EQ(f.Found, lead == 1729) << lead;
    }
}

TEST(MpegFirstFrame, SuccessorPastTheBlockIsNotFound) {
    // 2880-byte frames: a header at 600 would need its successor at 3480.
    const FrameShape big{.version = 0, .layer = 2, .bitRateIndex = 14, .sampleRateIndex = 2};
    VbrInfo vbr;
    Bytes stream = Concat(Bytes(600, 0x20), test::Frames(big, 2880, 2));
    EXPECT_FALSE(FindFirstFrame(BlockOf(stream), vbr).Found);
    EXPECT_TRUE(FindFirstFrame(BlockOf(test::Frames(big, 2880, 2)), vbr).Found);
}

TEST(MpegVbrHeader, XingIsReadAtTheSideInformationOffset) {
    struct Case {
        FrameShape shape;
        size_t offset;
    };
    for (const Case& c : {Case{{}, 36}, Case{{.mode = 3}, 21}, Case{{.version = 2}, 21},
                          Case{{.version = 2, .mode = 3}, 13}}) {
        MpegFrameInfo f = Decoded(c.shape);
        size_t length = FrameLength(f);
        Bytes stream = Concat(test::XingFrame(c.shape, length, c.offset, 1000, 417000,
                                              std::string("LAME3.9\0", 8), 57),
                              test::Frames(c.shape, length, 2));
        VbrInfo vbr;
        ASSERT_TRUE(FindFirstFrame(BlockOf(stream), vbr).Found);
        EXPECT_TRUE(vbr.Found) << c.offset;
        EXPECT_EQ(vbr.Id, "Xing");
        EXPECT_EQ(vbr.Frames, 1000);
        EXPECT_EQ(vbr.Bytes, 417000);
        EXPECT_EQ(vbr.Scale, 57);
        EXPECT_EQ(vbr.Vendor, std::string("LAME3.9\0", 8));
    }
    // At another offset it is not seen.
    Bytes stream = Concat(test::XingFrame({}, 417, 21, 1000, 417000, "LAME3.90"), test::Frames({}, 417, 2));
    VbrInfo vbr;
    ASSERT_TRUE(FindFirstFrame(BlockOf(stream), vbr).Found);
    EXPECT_FALSE(vbr.Found);
}

TEST(MpegVbrHeader, VbriHasItsOwnLayoutAndNoVendor) {
    Bytes stream = Concat(test::VbriFrame({}, 417, 36, 0x01020304, 0x7FFFFFFF, 80), test::Frames({}, 417, 2));
    VbrInfo vbr;
    ASSERT_TRUE(FindFirstFrame(BlockOf(stream), vbr).Found);
    EXPECT_TRUE(vbr.Found);
    EXPECT_EQ(vbr.Id, "VBRI");
    EXPECT_EQ(vbr.Frames, 0x01020304);
    EXPECT_EQ(vbr.Bytes, 0x7FFFFFFF);
    EXPECT_EQ(vbr.Scale, 80);
    EXPECT_EQ(vbr.Vendor, "");
    // Counts with the top bit set are negative.
    EXPECT_EQ(ReadVbrHeader(BlockOf(test::VbriFrame({}, 417, 36, 0xFFFFFFFE, 1)), 36).Frames, -2);
    // Marks are case-sensitive.
    Bytes lower = test::XingFrame({}, 417, 36, 1, 1, "");
    lower[36] = 'x';
    EXPECT_FALSE(ReadVbrHeader(BlockOf(lower), 36).Found);
}

// A constant-rate stream's "Info" header: its counts give frames, play time
// and the rate of the frames behind the one holding it (coded at 56 kbit/s
// where the stream runs at 32), while the encoder is guessed as for a stream
// without a header.
TEST(MpegVbrHeader, InfoCountsFramesOfAConstantRateStream) {
    const FrameShape first{.version = 2, .bitRateIndex = 7, .mode = 3};  // MPEG 2, 56 kbit/s, 22050 Hz
    Bytes stream = Concat(test::XingFrame(first, 182, 13, 156, 182 + 156 * 104, "Lavc59.3"),
                          test::Frames({.version = 2, .bitRateIndex = 4, .mode = 3}, 104, 2));
    std::copy_n("Info", 4, stream.begin() + 13);
    VbrInfo vbr;
    MpegStreamFacts s = FactsOf(first);
    ASSERT_TRUE(FindFirstFrame(BlockOf(stream), vbr).Found);
    EXPECT_EQ(vbr.Id, "Info");
    EXPECT_FALSE(IsVbrHeader(vbr));
    const MpegStreamFacts info = WithVbr(s, "Info", vbr.Frames, vbr.Bytes, vbr.Vendor);
    EXPECT_EQ(FrameCount(info), 156);
    EXPECT_DOUBLE_EQ(DurationSeconds(info), 576.0 * 156 / 22050);
    EXPECT_EQ(BitRateKbps(info), 32);  // 104 bytes * 22050 / 72 / 1000 = 31.85
    EXPECT_EQ(EncoderId(info), EncoderId(s));
    EXPECT_EQ(EncoderText(info), "FhG");
    // Without a frame count the stream is counted as if it had no header.
    EXPECT_EQ(FrameCount(WithVbr(s, "Info", 0, 1000)), FrameCount(s));
}

TEST(MpegVendorText, SearchesBackwardsOverFiveFramesAndEightBytes) {
    auto blockWith = [](size_t at, const std::string& text) {
        MpegBlock b{};
        std::copy(text.begin(), text.end(), b.begin() + static_cast<ptrdiff_t>(at));
        return b;
    };
    // The last position tried is 3450 - span.
    EXPECT_EQ(FindVendorText(blockWith(3450 - 2085, "LAME3.90"), 5 * 417), "LAME3.90");
    EXPECT_EQ(FindVendorText(blockWith(3450 - 2086, "LAME3.90"), 5 * 417), "");
    EXPECT_EQ(FindVendorText(blockWith(3450, "LAME3.90"), 0), "LAME3.90");
    EXPECT_EQ(FindVendorText(blockWith(3451, "LAMEzzz"), 5 * 417), "");  // needs 8 bytes
    // A span past the block covers it from the first byte.
    EXPECT_EQ(FindVendorText(blockWith(0, "GOGO"), 5 * 2880), "GOGO");
    // The mark nearest the end wins.
    MpegBlock both = blockWith(3000, "LAME3.90");
    std::copy_n("GOGO", 4, both.begin() + 3200);
    EXPECT_EQ(FindVendorText(both, 5 * 417), "GOGO");
}

TEST(MpegFigures, VbrBitRateRoundsTiesToEvenAndCutsTo16Bits) {
    // MPEG 1 layer III at 48000 Hz: kbit/s = bytes per frame / 3.
    const FrameShape shape{.sampleRateIndex = 1};
    EXPECT_EQ(BitRateKbps(WithVbr(FactsOf(shape), "Xing", 2, 765, "")), 128);  // 127.5
    EXPECT_EQ(BitRateKbps(WithVbr(FactsOf(shape), "Xing", 2, 771, "")), 128);  // 128.5
    EXPECT_EQ(BitRateKbps(WithVbr(FactsOf(shape), "Xing", 2, 777, "")), 130);  // 129.5
    // Padding of the first frame is taken off each frame: (386.5 - 1) / 3 = 128.5.
    EXPECT_EQ(BitRateKbps(WithVbr(FactsOf({.sampleRateIndex = 1, .padded = true}), "Xing", 2, 773, "")), 128);
    EXPECT_EQ(BitRateKbps(WithVbr(FactsOf(shape), "VBRI", 1, 0x7FFFFFFF)), 43690);
    EXPECT_EQ(BitRateKbps(WithVbr(FactsOf(shape), "VBRI", 1, -300)), 65436);
    // Without a frame count the table rate holds.
    EXPECT_EQ(BitRateKbps(WithVbr(FactsOf(shape), "Xing", 0, 765, "")), 128);
}

TEST(MpegFigures, FrameCountAndDurationWithAndWithoutVbr) {
    MpegStreamFacts cbr = FactsOf({}, 1000000);
    cbr.AudioStart = 2048;
    cbr.HasID3v1 = true;
    cbr.Frame.Position = 100;
    // (1000000 - 2048 - 128 - 100) / 417 and the same bytes at 128 kbit/s.
    EXPECT_EQ(FrameCount(cbr), 2392);
    EXPECT_DOUBLE_EQ(DurationSeconds(cbr), 997724.0 / 128 / 1000 * 8);

    MpegStreamFacts xing = WithVbr(cbr, "Xing", 1000, 500000, "");
    EXPECT_EQ(FrameCount(xing), 1000);
    EXPECT_DOUBLE_EQ(DurationSeconds(xing), 144.0 * 1000 * 8 / 44100);

    // A zero count is reported as such; the rest falls back to the table.
    MpegStreamFacts empty = WithVbr(cbr, "Xing", 0, 500000, "");
    EXPECT_EQ(FrameCount(empty), 0);
    EXPECT_DOUBLE_EQ(DurationSeconds(empty), DurationSeconds(cbr));
    EXPECT_EQ(FrameCount(WithVbr(cbr, "VBRI", -5, 0)), -5);

    // The sample count is a 32-bit product: 1152 * 1864136 wraps negative.
    MpegStreamFacts wrapped = WithVbr(cbr, "Xing", 1864136, 1);
    EXPECT_LT(DurationSeconds(wrapped), 0);
    EXPECT_FALSE(IsValidStream(wrapped));

    MpegStreamFacts none;
    EXPECT_EQ(DurationSeconds(none), 0);
    EXPECT_EQ(FrameCount(none), 0);
}

TEST(MpegFigures, ValidityBoundsBitRateAndDuration) {
    const FrameShape shape{.sampleRateIndex = 1};
    EXPECT_FALSE(IsValidStream(WithVbr(FactsOf(shape), "Xing", 1000, 21000)));  // 7
    EXPECT_TRUE(IsValidStream(WithVbr(FactsOf(shape), "Xing", 1000, 24000)));   // 8
    EXPECT_TRUE(IsValidStream(WithVbr(FactsOf(shape), "Xing", 1000, 1344000)));  // 448
    EXPECT_FALSE(IsValidStream(WithVbr(FactsOf(shape), "Xing", 1000, 1347000)));  // 449
    // 0.1 s at 48000 Hz is 4800 samples; 1152 * 5 = 5760 is enough, 1152 * 4 is not.
    EXPECT_TRUE(IsValidStream(WithVbr(FactsOf(shape), "Xing", 5, 2000)));
    EXPECT_FALSE(IsValidStream(WithVbr(FactsOf(shape), "Xing", 4, 1600)));
    MpegStreamFacts notFound = FactsOf(shape);
    notFound.Frame.Found = false;
    EXPECT_FALSE(IsValidStream(notFound));
}

TEST(MpegEncoder, VbrRulesFollowTheVendorAndTheHeaderKind) {
    const MpegStreamFacts base = FactsOf({});
    EXPECT_EQ(EncoderId(WithVbr(base, "Xing", 10, 4170, "LAME3.90")), 3);
    EXPECT_EQ(EncoderId(WithVbr(base, "Xing", 10, 4170, "GOGO1.0 ")), 5);
    EXPECT_EQ(EncoderId(WithVbr(base, "Xing", 10, 4170, "MPGE    ")), 5);
    EXPECT_EQ(EncoderText(WithVbr(base, "Xing", 10, 4170, "MPGE    ")), "GoGo");
    EXPECT_EQ(EncoderId(WithVbr(base, "Xing", 10, 4170, std::string(8, '\0'))), 1);
    EXPECT_EQ(EncoderId(WithVbr(base, "Xing", 10, 4170, "lame3.90")), 1);
    EXPECT_EQ(EncoderId(WithVbr(base, "VBRI", 10, 4170)), 2);
    MpegStreamFacts none;
    EXPECT_EQ(EncoderId(none), 0);
}

TEST(MpegEncoder, CbrRulesLaterOverrideEarlier) {
    auto id = [](const FrameShape& shape, bool zeroRun = false, const std::string& vendor = {}) {
        MpegStreamFacts s = FactsOf(shape);
        s.Frame.ZeroRun = zeroRun;
        s.VendorText = vendor;
        return EncoderId(s);
    };
    EXPECT_EQ(id({}), 2);
    EXPECT_EQ(id({.crc = true, .original = true}), 3);
    EXPECT_EQ(id({.mode = 0, .crc = true, .original = true}), 4);  // 128 kbit/s stereo
    EXPECT_EQ(id({.bitRateIndex = 11, .mode = 0}), 2);             // 192 kbit/s
    EXPECT_EQ(id({.bitRateIndex = 10, .mode = 0}), 4);             // 160 kbit/s
    EXPECT_EQ(id({.mode = 0, .copyright = true, .original = true}), 1);
    EXPECT_EQ(id({}, true), 2);
    EXPECT_EQ(id({.original = true}, true), 1);
    EXPECT_EQ(id({.layer = 2, .original = true}, true), 7);
    EXPECT_EQ(id({.layer = 2, .mode = 2, .crc = true}), 6);
    EXPECT_EQ(id({.mode = 2}), 2);
    EXPECT_EQ(id({.layer = 2, .mode = 2, .crc = true}, false, "LAME3.90"), 3);
    EXPECT_EQ(id({.mode = 0}, false, "GOGO"), 5);
}

TEST(MpegEncoder, TextCarriesALameVersionOfDigitDotDigitDigit) {
    MpegStreamFacts s = FactsOf({});
    s.VendorText = "LAME3.90";
    EXPECT_EQ(EncoderText(s), "LAME 3.90");
    s.VendorText = "LAME3.9x";
    EXPECT_EQ(EncoderText(s), "LAME");
    // The end-of-stream mark is preferred to the Xing vendor.
    MpegStreamFacts x = WithVbr(FactsOf({}), "Xing", 10, 4170, "LAME3.97");
    EXPECT_EQ(EncoderText(x), "LAME 3.97");
    x.VendorText = "LAME4.01";
    EXPECT_EQ(EncoderText(x), "LAME 4.01");
    // Only a LAME guess gets a version.
    MpegStreamFacts g = FactsOf({});
    g.VendorText = "GOGO";
    EXPECT_EQ(EncoderText(g), "GoGo");
}

}  // namespace
}  // namespace qel
