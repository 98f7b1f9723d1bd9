#include <gtest/gtest.h>

#include "readers/MPEGplus.h"
#include "readers/TextForms.h"
#include "support/AnalysedBytes.h"
#include "support/ApeTagBytes.h"
#include "support/MemoryFiles.h"
#include "support/TestFiles.h"

namespace qel {
namespace {

using test::Bytes;

// A version 7 header: "MP+", 7, the frame count, then 4 bytes of which the
// profile byte is byte 10 and the channel mode bit 0x40 of byte 11.
Bytes Version7(uint32_t frames, uint8_t profileByte, uint8_t byte11) {
    Bytes out;
    test::Append(out, "MP+");
    out.push_back(7);
    test::AppendLE32(out, frames);
    out.push_back(0);
    out.push_back(0);
    out.push_back(profileByte);
    out.push_back(byte11);
    return out;
}

// An older header: bits 1-4 of byte 1 carry the version code, W0's top 9
// bits the bit rate, byte 2's low 7 bits the channel mode.
Bytes OldVersion(unsigned code, unsigned bitRate, uint8_t channelBits, uint32_t w1) {
    uint32_t w0 = bitRate << 23 | uint32_t{channelBits} << 16 | code << 9;
    Bytes out;
    test::AppendLE32(out, w0);
    test::AppendLE32(out, w1);
    test::AppendLE32(out, 0);
    return out;
}

Bytes Padded(Bytes bytes, size_t size) {
    bytes.resize(size, 0x44);
    return bytes;
}

using Analysed = test::AnalysedBytes<TMPEGplus>;
using test::Concat;
using test::ID3v1ArtistTitle;

TEST(MPEGplus, Version7HeaderWithoutTags) {
    Analysed a(Padded(Version7(10000, 176, 0x40), 5000000));
    ASSERT_TRUE(a.open);
    EXPECT_EQ(a.reader.TypeName, "mp+");
    Tinfosound expected;
    expected.bitrate = "153";  // round(5000000 * 8 * 44.1 / 10000 / 1152)
    expected.cnanmod = "Joint Stereo";
    expected.cnanmodid = "2";
    expected.duration = "261.224489795918";
    expected.filelen = "5000000";
    expected.profile = "Xtreme";
    expected.ProfileID = "4";
    expected.streamversion = "7";
    expected.framecount = "10000";
    expected.samplrate = "44100";
    EXPECT_EQ(a.sound, expected);
    EXPECT_EQ(a.tags, Tinfotag{});
    EXPECT_FALSE(a.reader.HasTag);
    EXPECT_EQ(a.ArtistTitle(), "");
}

TEST(MPEGplus, Version7ProfilesAndChannelModes) {
    const std::vector<std::pair<uint8_t, std::string>> profiles = {
        {128, "Thumb"}, {144, "Radio"}, {160, "Standard"}, {176, "Xtreme"}, {192, "Insane"},
        {0, "Unknown"}, {177, "Unknown"}, {208, "Unknown"}};
    for (const auto& [byte, text] : profiles) {
        Analysed a(Padded(Version7(100, byte, 0xBF), 1000));
        EXPECT_EQ(a.sound.profile, text) << int(byte);
        // The low 2 bits of the profile byte give the sample rate.
        EXPECT_EQ(a.sound.samplrate, byte == 177 ? "48000" : "44100") << int(byte);
        EXPECT_EQ(a.sound.cnanmod, "Stereo");  // every bit of byte 11 but 0x40
        EXPECT_EQ(a.sound.cnanmodid, "1");
    }
}

TEST(MPEGplus, OlderVersionsTakeFrameCountAndBitRateFromTheirWords) {
    {
        // Version 4: the frame count is W1's upper half; the bit rate is stored.
        Analysed a(Padded(OldVersion(3, 128, 0, 0x00640000), 1000));
        ASSERT_TRUE(a.open);
        EXPECT_EQ(a.sound.streamversion, "4");
        EXPECT_EQ(a.sound.framecount, "100");
        EXPECT_EQ(a.sound.bitrate, "128");
        EXPECT_EQ(a.sound.cnanmod, "Stereo");
        EXPECT_EQ(a.sound.profile, "Unknown");
        EXPECT_EQ(a.sound.ProfileID, "0");
        EXPECT_EQ(a.sound.samplrate, "44100");  // the only rate before version 7
    }
    {
        // Version 5: the stored bit rate holds whatever the file size.
        Analysed a(Padded(OldVersion(7, 511, 0x01, 100), 1000));
        EXPECT_EQ(a.sound.streamversion, "5");
        EXPECT_EQ(a.sound.framecount, "100");
        EXPECT_EQ(a.sound.bitrate, "511");
        EXPECT_EQ(a.sound.cnanmod, "Joint Stereo");
    }
    {
        // Version 6 stores no bit rate: it is computed.
        Analysed a(Padded(OldVersion(11, 511, 0x80, 10), 10000));
        EXPECT_EQ(a.sound.streamversion, "6");
        EXPECT_EQ(a.reader.HeaderBitRate, 0);
        EXPECT_EQ(a.sound.bitrate, "306");  // round(10000 * 8 * 44.1 / 10 / 1152) = round(306.25)
        EXPECT_EQ(a.sound.cnanmod, "Stereo");  // 0x80 is not among the low 7 bits
    }
    for (unsigned code : {0u, 1u, 5u, 15u}) {
        Analysed a(Padded(OldVersion(code, 128, 0, 100), 1000));
        EXPECT_TRUE(a.read) << code;
        EXPECT_FALSE(a.open) << code;
        EXPECT_EQ(a.sound.streamversion, "0");
    }
}

TEST(MPEGplus, ComputedBitRateRoundsTiesToEvenAndIsCutTo16Bits) {
    // 80 bytes in one frame: 80 * 8 * 44.1 / 1152 = 24.5; 240 bytes: 73.5.
    EXPECT_EQ(Analysed(Padded(Version7(1, 0, 0), 80)).sound.bitrate, "24");
    EXPECT_EQ(Analysed(Padded(Version7(1, 0, 0), 240)).sound.bitrate, "74");
    // 300000 bytes in one frame: 91875 kbit/s, kept in 16 bits.
    EXPECT_EQ(Analysed(Padded(Version7(1, 0, 0), 300000)).sound.bitrate, "26339");
    // No frames, or a negative count: no bit rate and no division.
    Analysed none(Padded(Version7(0, 0, 0), 1000));
    EXPECT_TRUE(none.open);
    EXPECT_EQ(none.sound.bitrate, "0");
    EXPECT_EQ(none.sound.duration, "0");
    EXPECT_EQ(Analysed(Padded(Version7(0xFFFFFFFF, 0, 0), 1000)).sound.bitrate, "0");
}

TEST(MPEGplus, TagSizesComeOffTheComputedBitRate) {
    const Bytes header = Version7(10, 0, 0);
    {
        Analysed a(Concat({Padded(header, 10000 - 128), ID3v1ArtistTitle("A", "T")}));
        EXPECT_EQ(a.sound.filelen, "10000");
        EXPECT_EQ(a.sound.bitrate, "302");  // from 9872 bytes
    }
    {
        const Bytes ape = test::ApeTag({{"Title", "x"}});
        const Bytes id3v2 = test::ID3v2Builder(3).Frame("TIT2", test::Latin1Text("y")).Build();
        Analysed a(Concat({id3v2, Padded(header, 10000 - id3v2.size() - ape.size() - 128), ape,
                         ID3v1ArtistTitle("A", "T")}));
        ASSERT_TRUE(a.open);
        const double audioBytes = 10000.0 - id3v2.size() - ape.size() - 128;
        EXPECT_EQ(a.sound.bitrate, IntText(RoundTiesEven(audioBytes * 8 * 44.1 / 10 / 1152)));
        EXPECT_EQ(a.reader.APE.TagSize, static_cast<int32_t>(ape.size()));
        EXPECT_EQ(a.reader.ID3v2.TagSize, static_cast<int32_t>(id3v2.size()));
    }
}

TEST(MPEGplus, TagsTitleAndFlags) {
    const Bytes audio = Padded(Version7(100, 160, 0), 2000);
    const Bytes id3v2 = test::ID3v2Builder(3)
                            .Frame("TIT2", test::Latin1Text("Song2"))
                            .Frame("TPE1", test::Latin1Text("Band2"))
                            .Frame("TRCK", test::Latin1Text("3/12"))
                            .Build();
    const Bytes ape = test::ApeTag({{"Title", "SongA"}, {"Artist", "BandA"}, {"Track", "9"}});
    {
        Analysed a(Concat({audio, ID3v1ArtistTitle("Band1", "Song1")}));
        EXPECT_EQ(a.ArtistTitle(), "Band1 - Song1");
        EXPECT_TRUE(a.reader.HasTag);
        EXPECT_TRUE(a.reader.HasID3v1);
        EXPECT_FALSE(a.reader.HasID3v2);
        EXPECT_EQ(a.tags.Title1, "Song1");
        EXPECT_EQ(a.tags.Track, "0");
    }
    {
        Analysed a(Concat({id3v2, audio, ape, ID3v1ArtistTitle("Band1", "Song1")}));
        ASSERT_TRUE(a.open);
        EXPECT_EQ(a.ArtistTitle(), "BandA - SongA");
        EXPECT_TRUE(a.reader.HasID3v2);
        EXPECT_EQ(a.tags.Title1, "Song1");
        EXPECT_EQ(a.tags.Title2, "Song2");
        EXPECT_EQ(a.tags.Track, "3");
        EXPECT_EQ(a.tags.Tracktext2, "3/12");
        // The APE fields join the record handed out.
        EXPECT_EQ(a.tags.Titlea, "SongA");
        EXPECT_EQ(a.tags.Artista, "BandA");
        EXPECT_EQ(a.tags.Tracka, "9");
    }
    {
        Analysed a(Concat({id3v2, audio}));
        EXPECT_EQ(a.ArtistTitle(), "Band2 - Song2");
        EXPECT_EQ(a.tags.Titlea, "");
        EXPECT_EQ(a.tags.Tracka, "");
    }
    {
        // Tags of a file that is no stream: only the ID3v2 tag is read.
        Analysed a(Concat({id3v2, Padded(Bytes(12, 0), 1000), ape, ID3v1ArtistTitle("Band1", "Song1")}));
        EXPECT_TRUE(a.read);
        EXPECT_FALSE(a.open);
        EXPECT_FALSE(a.reader.HasTag);
        EXPECT_FALSE(a.reader.ID3v1.Present);
        EXPECT_FALSE(a.reader.APE.Present);
        EXPECT_TRUE(a.reader.ID3v2.Present);
    }
}

// Version 8: "MPCK", then packets of a two-letter key, their whole size
// (one byte here) and their contents, up to the audio packet.
Bytes Packet(const std::string& key, const Bytes& contents) {
    return Concat({Bytes(key.begin(), key.end()), {static_cast<uint8_t>(3 + contents.size())}, contents});
}

Bytes Groups(uint64_t value) {  // 7 bits a byte, the top bit on all but the last
    Bytes out{static_cast<uint8_t>(value & 0x7F)};
    while (value >>= 7) out.insert(out.begin(), static_cast<uint8_t>(0x80 | (value & 0x7F)));
    return out;
}

// The stream header: CRC, version 8, samples, silence, the rate index (top 3
// bits), the channels less one (top 4 bits) with the mid-side bit 0x08.
Bytes StreamHeader(uint64_t samples, uint64_t silence, uint8_t rateIndex, uint8_t channels, bool midSide) {
    return Packet("SH", Concat({{0, 0, 0, 0, 8}, Groups(samples), Groups(silence),
                                {static_cast<uint8_t>(rateIndex << 5 | 20),
                                 static_cast<uint8_t>((channels - 1) << 4 | (midSide ? 8 : 0) | 3)}}));
}

Bytes Version8(std::initializer_list<Bytes> packets) {
    Bytes out{'M', 'P', 'C', 'K'};
    for (const auto& p : packets) out = Concat({out, p});
    return Concat({out, {'A', 'P'}, Bytes(3000, 0x55)});
}

TEST(MPEGplus, Version8StreamFromItsPackets) {
    const Bytes encoderInfo = Packet("EI", {0x91, 1, 30, 1});  // profile 9 (radio), encoder 1.30.1
    Analysed a(Concat({Version8({StreamHeader(44100 + 576, 576, 0, 2, true), Packet("RG", Bytes(9, 0)), encoderInfo}),
                       ID3v1ArtistTitle("Band", "Song")}));
    ASSERT_TRUE(a.open);
    EXPECT_EQ(a.sound.streamversion, "8");
    EXPECT_EQ(a.sound.samplrate, "44100");
    EXPECT_EQ(a.sound.duration, "1");  // the silence at the start is not played
    EXPECT_EQ(a.sound.framecount, "39");  // 44676 samples in frames of 1152
    EXPECT_EQ(a.sound.cnanmod, "Joint Stereo");
    EXPECT_EQ(a.sound.profile, "Radio");
    EXPECT_EQ(a.sound.bitrate, IntText(RoundTiesEven((a.reader.FileLength - 128.0) * 8 / 1000)));
    EXPECT_EQ(a.tags.Title1, "Song");

    // More than two channels, rate index 3, no mid-side coding; an index that names no rate is no stream.
    Analysed many(Version8({StreamHeader(48000, 0, 3, 6, false)}));
    EXPECT_EQ(many.sound.cnanmod, "Multi Channel");
    EXPECT_EQ(many.sound.samplrate, "32000");
    EXPECT_EQ(Analysed(Version8({StreamHeader(48000, 0, 2, 2, false)})).sound.cnanmod, "Stereo");
    EXPECT_FALSE(Analysed(Version8({StreamHeader(48000, 0, 4, 2, false)})).open);
}

// Packet sizes are distrusted: the walk ends at a packet that cannot hold its
// key and size, runs past the file, has no two-letter key or comes after the
// audio, and after 64 packets; the stream header must hold its fields.
TEST(MPEGplus, Version8PacketWalkIsBounded) {
    const Bytes header = StreamHeader(44100, 0, 0, 2, false);
    auto others = [](size_t count) {
        Bytes out;
        while (count-- > 0) out = Concat({out, Packet("XX", {})});
        return out;
    };
    const std::vector<std::pair<Bytes, bool>> cases = {
        {Version8({Packet("RG", Bytes(9, 0)), header}), true},
        {Version8({others(63), header}), true},
        {Version8({others(64), header}), false},
        {Version8({{'X', 'X', 2}, header}), false},                                   // smaller than key and size
        {Version8({{'X', 'X', 0xFF, 0x7F}, header}), false},                          // 16383 bytes
        {Version8({Concat({{'X', 'X'}, Bytes(9, 0xFF), {1}}), header}), false},      // size over 8 bytes
        {Version8({Packet("x1", {}), header}), false},
        {Version8({Packet("AP", {}), header}), false},
        {Version8({Packet("SH", {0, 0, 0, 0, 8, 0x81})}), false},                      // cut inside its fields
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        Analysed a(cases[i].first);
        EXPECT_TRUE(a.read) << i;
        EXPECT_EQ(a.open, cases[i].second) << i;
    }
}

TEST(MPEGplus, ShortMissingAndEmptyFiles) {
    EXPECT_FALSE(Analysed(Bytes(11, 0)).read);
    EXPECT_FALSE(Analysed(Bytes()).open);
    const Bytes id3v2 = test::ID3v2Builder(3).Frame("TIT2", test::Latin1Text("y")).Build();
    Bytes header = Version7(1, 0, 0);
    header.resize(11);
    Analysed cut(Concat({id3v2, header}));
    EXPECT_FALSE(cut.read);
    EXPECT_FALSE(cut.open);
    MemoryFiles none;
    TMPEGplus mpc(none);
    EXPECT_FALSE(mpc.ReadInfo("missing.mpc"));
    EXPECT_FALSE(mpc.Open("missing.mpc"));
    EXPECT_EQ(mpc.ArtistTitle("missing.mpc"), "");
}

}  // namespace
}  // namespace qel
