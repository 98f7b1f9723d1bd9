#include <gtest/gtest.h>

#include "platform/fake/MemoryFiles.h"
#include "readers/AACfile.h"
#include "readers/TextForms.h"
#include "support/AnalysedBytes.h"
#include "support/TestFiles.h"

namespace qel {
namespace {

using test::Bytes;

// Writes fields most significant bit first.
class BitWriter {
public:
    BitWriter& Put(uint32_t value, unsigned count) {
        for (unsigned i = count; i-- > 0;) {
            if (bits_ % 8 == 0) bytes_.push_back(0);
            if ((value >> i) & 1) bytes_.back() |= static_cast<uint8_t>(0x80 >> (bits_ % 8));
            ++bits_;
        }
        return *this;
    }
    Bytes bytes() const { return bytes_; }

private:
    Bytes bytes_;
    size_t bits_ = 0;
};

struct AdtsFrame {
    unsigned id = 0;  // 0 MPEG-4, 1 MPEG-2
    unsigned profile = 1;
    unsigned rateIndex = 4;  // 44100
    unsigned channels = 2;
    unsigned length = 372;
    unsigned fullness = 0x7FF;

    // A frame of `length` bytes (at least its 7-byte header).
    Bytes Build() const {
        BitWriter w;
        w.Put(0xFFF, 12).Put(id, 1).Put(0, 2).Put(1, 1);
        w.Put(profile, 2).Put(rateIndex, 4).Put(0, 1).Put(channels, 3);
        w.Put(0, 4).Put(length, 13).Put(fullness, 11).Put(0, 2);
        Bytes out = w.bytes();
        if (length > out.size()) out.resize(length, 0x21);
        return out;
    }
};

Bytes Frames(const AdtsFrame& frame, int count) {
    Bytes out;
    for (int i = 0; i < count; ++i) {
        Bytes one = frame.Build();
        out.insert(out.end(), one.begin(), one.end());
    }
    return out;
}

using Analysed = test::AnalysedBytes<TAACfile>;
using test::Concat;
using test::ID3v1ArtistTitle;

TEST(AACfile, ConstantRateADTSReadsOneFrameForBothMpegVersions) {
    for (unsigned id : {0u, 1u}) {
        AdtsFrame frame;
        frame.id = id;
        frame.fullness = 0x123;
        Analysed a(Frames(frame, 5));
        ASSERT_TRUE(a.open) << id;
        EXPECT_EQ(a.reader.TypeName, "aac");
        Tinfosound expected;
        expected.bitrate = "128166";  // round(372 * 8 / 1024 * 44100)
        expected.bitratetype = "CBR";
        expected.bitratetypeid = "1";
        expected.cnanmod = "2";
        expected.duration = RealText(372.0 * 5 * 8 / 128166);
        expected.filelen = "1860";
        expected.HeaderType = "ADTS";
        expected.HeaderTypeID = "2";
        expected.MPEGVersion = id ? "MPEG-2" : "MPEG-4";
        expected.MPEGVersionID = id ? "1" : "2";
        expected.profile = "AAC LC";
        expected.ProfileID = "2";
        expected.samplrate = "44100";
        EXPECT_EQ(a.sound, expected);
    }
}

TEST(AACfile, VariableRateWalkCountsTheFailedAttemptAndStopsAt1000Frames) {
    AdtsFrame frame;
    frame.length = 300;
    {
        // The walk ends at the end of the file: 3 frames summed, 3 counted.
        Analysed a(Frames(frame, 3));
        EXPECT_EQ(a.reader.BitRateTypeId, TAACfile::kVBR);
        EXPECT_EQ(a.reader.BitRate, RoundTiesEven(900.0 * 8 / 1024 / 3 * 44100));
    }
    {
        // An ID3v1 tag behind the frames is one more attempt.
        Analysed a(Concat({Frames(frame, 3), ID3v1ArtistTitle("A", "T")}));
        EXPECT_EQ(a.reader.BitRate, RoundTiesEven(900.0 * 8 / 1024 / 4 * 44100));
        EXPECT_EQ(a.sound.bitratetype, "VBR");
    }
    {
        frame.length = 10;
        Analysed a(Frames(frame, 2000));
        EXPECT_EQ(a.reader.BitRate, RoundTiesEven(10000.0 * 8 / 1024 / 1000 * 44100));
    }
    {
        // Frame length 0: the walk stays in place, but still ends after 1000 headers.
        frame.length = 0;
        Analysed a(Concat({Frames(frame, 1), Bytes(200, 0)}));
        EXPECT_TRUE(a.read);
        EXPECT_EQ(a.reader.BitRate, 0);
        EXPECT_FALSE(a.open);
        EXPECT_EQ(a.sound.duration, "0");
    }
}

TEST(AACfile, LastFramesLaterFieldsWinAndBitsPastTheEndAreZero) {
    AdtsFrame first;
    first.length = 130;
    Bytes bytes = first.Build();
    // A second header of which only its first two bytes are in the file.
    bytes.push_back(0xFF);
    bytes.push_back(0xF1);
    Analysed a(bytes);
    ASSERT_TRUE(a.read);
    EXPECT_EQ(a.reader.MpegVersionId, 2);
    EXPECT_EQ(a.reader.ProfileId, 1);
    EXPECT_EQ(a.reader.SampleRate, 96000);
    EXPECT_EQ(a.reader.Channels, 0);
    EXPECT_EQ(a.reader.BitRateTypeId, TAACfile::kCBR);
    EXPECT_EQ(a.reader.BitRate, RoundTiesEven(130.0 * 8 / 1024 / 2 * 96000));
    EXPECT_FALSE(a.open);
}

TEST(AACfile, SampleRateIndexAbove11IsInvalid) {
    for (unsigned index : {12u, 15u}) {
        AdtsFrame frame;
        frame.rateIndex = index;
        frame.fullness = 0;
        Analysed a(Frames(frame, 2));
        EXPECT_TRUE(a.read);
        EXPECT_EQ(a.sound.samplrate, "0");
        EXPECT_FALSE(a.open);
    }
    AdtsFrame frame;
    frame.rateIndex = 11;
    frame.fullness = 0;
    EXPECT_EQ(Analysed(Frames(frame, 2)).sound.samplrate, "8000");
}

struct AdifHeader {
    bool copyright = false;
    bool variable = false;
    uint32_t bitRate = 96000;
    unsigned objectType = 1;
    unsigned rateIndex = 3;  // 48000
    unsigned front = 1, side = 2, back = 3, lfe = 1;

    Bytes Build() const {
        BitWriter w;
        w.Put('A', 8).Put('D', 8).Put('I', 8).Put('F', 8);
        w.Put(copyright, 1);
        if (copyright) w.Put(0x1FFFFFF, 25).Put(0x1FFFFFF, 25).Put(0x3FFFFF, 22);
        w.Put(0, 2).Put(variable, 1).Put(bitRate, 23).Put(0, 4);
        if (!variable) w.Put(0xFFFFF, 20);
        w.Put(0xF, 4).Put(objectType, 2).Put(rateIndex, 4);
        w.Put(front, 4).Put(side, 4).Put(back, 4).Put(lfe, 2).Put(0x3FFF, 14);
        Bytes out = w.bytes();
        out.resize(400, 0x5A);
        return out;
    }
};

TEST(AACfile, ADIFHeaderWithAndWithoutCopyrightId) {
    for (bool copyright : {false, true}) {
        for (bool variable : {false, true}) {
            SCOPED_TRACE(testing::Message() << "copyright " << copyright << " variable " << variable);
            AdifHeader h;
            h.copyright = copyright;
            h.variable = variable;
            Analysed a(h.Build());
            ASSERT_TRUE(a.open);
            EXPECT_EQ(a.sound.HeaderType, "ADIF");
            EXPECT_EQ(a.sound.MPEGVersion, "MPEG-4");
            EXPECT_EQ(a.sound.bitratetype, variable ? "VBR" : "CBR");
            EXPECT_EQ(a.sound.bitrate, "96000");
            EXPECT_EQ(a.sound.profile, "AAC LC");
            EXPECT_EQ(a.sound.samplrate, "48000");
            EXPECT_EQ(a.sound.cnanmod, "7");  // element counts added up
            EXPECT_EQ(a.sound.duration, RealText(400.0 * 8 / 96000));
        }
    }
    AdifHeader silent;
    silent.bitRate = 0;
    EXPECT_FALSE(Analysed(silent.Build()).open);
}

TEST(AACfile, TagsAroundTheStream) {
    AdtsFrame frame;
    frame.fullness = 0;
    const Bytes id3v2 = test::ID3v2Builder(3)
                            .Frame("TIT2", test::Latin1Text("Song2"))
                            .Frame("TPE1", test::Latin1Text("Band2"))
                            .Frame("TRCK", test::Latin1Text("4/9"))
                            .Build();
    {
        Analysed a(Concat({id3v2, Frames(frame, 2), ID3v1ArtistTitle("Band1", "Song1")}));
        ASSERT_TRUE(a.open);
        EXPECT_EQ(a.reader.FileLength, static_cast<int32_t>(id3v2.size() + 744 + 128));
        // The ID3v2 tag is left out of the play time, the ID3v1 tag is not.
        EXPECT_EQ(a.sound.duration, RealText((744.0 + 128) * 8 / 128166));
        EXPECT_EQ(a.tags.Title1, "Song1");
        EXPECT_EQ(a.tags.Title2, "Song2");
        EXPECT_EQ(a.tags.Tracktext2, "4/9");
        EXPECT_EQ(a.tags.Track, "4");
        EXPECT_EQ(a.ArtistTitle(), "Band2 - Song2");
    }
    {
        Analysed a(Concat({Frames(frame, 2), ID3v1ArtistTitle("Band1", "Song1")}));
        EXPECT_EQ(a.ArtistTitle(), "Band1 - Song1.");
        EXPECT_EQ(a.tags.Track, "0");
    }
    EXPECT_EQ(Analysed(Frames(frame, 2)).ArtistTitle(), "");
}

TEST(AACfile, UnreadableOrForeignFiles) {
    AdtsFrame frame;
    frame.fullness = 0;
    frame.length = 50;
    {
        Analysed a(Frames(frame, 2));  // shorter than an ID3v1 tag
        EXPECT_FALSE(a.read);
        EXPECT_FALSE(a.open);
    }
    {
        Bytes mp4;
        test::AppendBE32(mp4, 32);
        test::Append(mp4, "ftypM4A ");
        mp4.resize(400, 0);
        Analysed a(mp4);
        EXPECT_TRUE(a.read);
        EXPECT_FALSE(a.open);
        EXPECT_EQ(a.sound.HeaderType, "Unknown");
    }
    MemoryFiles none;
    TAACfile aac(none);
    EXPECT_FALSE(aac.ReadInfo("missing.aac"));
    EXPECT_FALSE(aac.Open("missing.aac"));
}

TEST(AACfile, EncoderFixtures) {
    // ADTS frames of ffmpeg's encoder between ID3 tags written by mutagen.
    TAACfile aac;
    const std::string adts = test::DataPath("adts.aac");
    ASSERT_TRUE(aac.Open(adts));
    ASSERT_TRUE(aac.ReadInfo(adts));
    Tinfosound sound;
    aac.FillSoundInfo(sound);
    EXPECT_EQ(sound.HeaderType, "ADTS");
    EXPECT_EQ(sound.MPEGVersion, "MPEG-4");
    EXPECT_EQ(sound.profile, "AAC LC");
    EXPECT_EQ(sound.samplrate, "44100");
    EXPECT_EQ(sound.cnanmod, "2");
    EXPECT_EQ(sound.bitratetype, "VBR");
    EXPECT_EQ(sound.filelen, "4510");
    // 4298 bytes of 23 frames (as ffprobe counts them) behind an 84-byte ID3v2
    // tag; the walk also counts its attempt at the ID3v1 tag.
    const int64_t bitRate = RoundTiesEven(4298.0 * 8 / 1024 / 24 * 44100);
    EXPECT_EQ(sound.bitrate, IntText(bitRate));
    EXPECT_EQ(sound.duration, RealText((4510.0 - 84) * 8 / bitRate));
    Tinfotag tags;
    aac.FillTagInfo(tags);
    EXPECT_EQ(tags.Title1, "AAC Title");
    EXPECT_EQ(tags.Title2, "AAC Title");
    EXPECT_EQ(tags.Artist2, "AAC Artist");
    EXPECT_EQ(tags.Tracktext2, "2/5");
    EXPECT_EQ(aac.ArtistTitle(adts), "AAC Artist - AAC Title");

    // An MP4 container is neither ADIF nor ADTS.
    TAACfile mp4;
    const std::string container = test::DataPath("container.m4a");
    EXPECT_TRUE(mp4.ReadInfo(container));
    EXPECT_EQ(mp4.HeaderTypeId, TAACfile::kUnknownHeader);
    EXPECT_FALSE(mp4.Open(container));
}

}  // namespace
}  // namespace qel
