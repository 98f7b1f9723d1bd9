#include "readers/MPEGaudio.h"

#include <gtest/gtest.h>

#include "support/ID3Builders.h"
#include "support/MemoryFiles.h"
#include "support/MpegStreams.h"

namespace qel {
namespace {

using test::Bytes;

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes Junk(size_t count) { return Bytes(count, 0x20); }

// A version 3 tag of exactly 1024 bytes with title Song and artist Band.
Bytes SongBandTag() {
    return test::ID3v2Builder(3)
        .Frame("TIT2", test::Latin1Text("Song"))
        .Frame("TPE1", test::Latin1Text("Band"))
        .Frame("TRCK", test::Latin1Text("3/12"))
        .Padding(1024 - 10 - 15 - 15 - 15)
        .Build();
}

Bytes ID3v1(const std::string& title, const std::string& artist, const std::string& comment = {},
            uint8_t genre = 255) {
    test::ID3v1Fields fields;
    fields.title = title;
    fields.artist = artist;
    fields.comment = comment;
    fields.genre = genre;
    return test::ID3v1Tag(fields);
}

// ID3v1.1 with title Old, artist Band1, track 5 and genre Rock.
Bytes OldTag() { return ID3v1("Old", "Band1", std::string(29, '\0') + "\x05", 17); }

class MpegFile : public ::testing::Test {
protected:
    // Reads `contents` as a file the way the dispatch does: Open, then ReadInfo.
    bool OpenFile(Bytes contents) {
        files.Add("a.mp3", std::move(contents));
        return mp3.Open("a.mp3");
    }
    Tinfosound Sound() {
        Tinfosound s;
        mp3.FillSoundInfo(s);
        return s;
    }
    Tinfotag Tags() {
        Tinfotag t;
        mp3.FillTagInfo(t);
        return t;
    }

    MemoryFiles files;
    TMPEGaudio mp3{files};
};

TEST_F(MpegFile, CbrWithBothTagsFillsEveryProvidedField) {
    Bytes tag = SongBandTag();
    ASSERT_EQ(tag.size(), 1024u);
    ASSERT_TRUE(OpenFile(Join({tag, test::Frames({}, 417, 20), OldTag()})));
    EXPECT_EQ(mp3.TypeName, "mp3");
    EXPECT_TRUE(mp3.HasTag && mp3.HasID3v1 && mp3.HasID3v2);

    Tinfosound expected;
    expected.version = "MPEG 1";
    expected.layer = "Layer III";
    expected.cnanmod = "Joint Stereo";
    expected.filelen = "9492";
    expected.samplrate = "44100";
    expected.bitrate = "128";
    expected.duration = "0.52125";  // 8340 bytes at 128 kbit/s
    expected.framecount = "20";
    expected.encoder = "FhG";
    expected.encoderid = "2";
    expected.emphasis = "None";
    EXPECT_EQ(Sound(), expected);

    Tinfotag tags = Tags();
    EXPECT_EQ(tags.Title1, "Old");
    EXPECT_EQ(tags.Artist1, "Band1");
    EXPECT_EQ(tags.Genre1, "Rock");
    EXPECT_EQ(tags.Title2, "Song");
    EXPECT_EQ(tags.Artist2, "Band");
    EXPECT_EQ(tags.Tracktext2, "3/12");
    EXPECT_EQ(tags.Track, "3");  // the ID3v2 value replaces the ID3v1 one
    EXPECT_EQ(tags.vendor, "");
    EXPECT_EQ(mp3.ArtistTitle("a.mp3"), "Song-Band");
}

TEST_F(MpegFile, TrackComesFromID3v2WheneverItIsPresent) {
    Bytes titleOnly = test::ID3v2Builder(3).Frame("TIT2", test::Latin1Text("Song")).Build();
    ASSERT_TRUE(OpenFile(Join({titleOnly, test::Frames({}, 417, 20), OldTag()})));
    EXPECT_EQ(Tags().Track, "0");
    EXPECT_EQ(mp3.ArtistTitle("a.mp3"), "Song-Band1");

    ASSERT_TRUE(OpenFile(Join({test::Frames({}, 417, 20), OldTag()})));
    EXPECT_EQ(Tags().Track, "5");
    EXPECT_FALSE(mp3.HasID3v2);
    EXPECT_EQ(mp3.ArtistTitle("a.mp3"), "Old-Band1");

    Bytes artistOnly = ID3v1("", "Band1");
    ASSERT_TRUE(OpenFile(Join({test::Frames({}, 417, 20), artistOnly})));
    EXPECT_EQ(mp3.ArtistTitle("a.mp3"), "");

    // Open never lowers HasTag once a file of the object had a tag.
    ASSERT_TRUE(OpenFile(test::Frames({}, 417, 20)));
    EXPECT_FALSE(mp3.HasID3v1);
    EXPECT_TRUE(mp3.HasTag);
}

TEST_F(MpegFile, FirstBlockSearchCoversPositionsUpTo1729AfterTheTag) {
    ASSERT_TRUE(OpenFile(Join({SongBandTag(), Junk(1729), test::Frames({}, 417, 30)})));
    EXPECT_EQ(mp3.Frame.Position, 1729);

    // One byte more leaves the search to the middle of the file: (15264 -
    // 1024) / 2 = 7120, an absolute position; the next header is at 7341.
    ASSERT_TRUE(OpenFile(Join({SongBandTag(), Junk(1730), test::Frames({}, 417, 30)})));
    EXPECT_EQ(mp3.FileLength, 15264);
    EXPECT_EQ(mp3.Frame.Position, 221);
    // The position inside the middle block counts as if it were a file offset.
    EXPECT_EQ(Sound().framecount, "33");  // (15264 - 1024 - 221) / 417
}

TEST_F(MpegFile, NoFrameClearsEverythingIncludingTags) {
    ASSERT_FALSE(OpenFile(Join({SongBandTag(), Junk(6000), OldTag()})));
    EXPECT_EQ(mp3.TypeName, "");
    EXPECT_FALSE(mp3.ID3v1->Present);
    EXPECT_FALSE(mp3.ID3v2->Present);
    EXPECT_TRUE(mp3.ReadInfo("a.mp3"));  // the file was read, it just holds no frame
    EXPECT_STREQ(VersionText(mp3.Frame.VersionId), "MPEG ?");

    // A short first block is not followed by a middle search.
    ASSERT_FALSE(OpenFile(Join({Junk(1800), test::Frames({}, 417, 3)})));
}

// A file of tags alone keeps them; audio behind a second tag is found and
// counted from that tag's end, while the first tag's texts are shown.
TEST_F(MpegFile, TagOnlyFilesAndSecondTags) {
    ASSERT_TRUE(OpenFile(Join({SongBandTag(), Bytes(50, 0), OldTag()})));
    EXPECT_EQ(Tags().Title2, "Song");
    EXPECT_EQ(Tags().Title1, "Old");
    EXPECT_EQ(Sound().duration, "0");
    EXPECT_EQ(Sound().version, "MPEG ?");
    EXPECT_EQ(mp3.ArtistTitle("a.mp3"), "Song-Band");

    const Bytes second = test::ID3v2Builder(4).Frame("TIT2", test::Latin1Text("Second")).Padding(2000).Build();
    ASSERT_TRUE(OpenFile(Join({SongBandTag(), second, test::Frames({}, 417, 20)})));
    EXPECT_EQ(Tags().Title2, "Song");
    EXPECT_EQ(mp3.Frame.Position, 0);
    EXPECT_EQ(Sound().framecount, "20");
}

TEST_F(MpegFile, UnreadableOrTinyFilesGiveFalseWithoutThrowing) {
    EXPECT_FALSE(mp3.ReadInfo("missing.mp3"));
    EXPECT_FALSE(mp3.Open("missing.mp3"));
    EXPECT_EQ(mp3.ArtistTitle("missing.mp3"), "");

    // Under 128 bytes the ID3v1 read fails and nothing is kept.
    files.Add("tiny.mp3", Join({test::Frames({}, 26, 4)}));
    EXPECT_FALSE(mp3.ReadInfo("tiny.mp3"));
    EXPECT_FALSE(mp3.Frame.Found);
}

TEST_F(MpegFile, ShortCbrFileFailsTheEndBlockButKeepsItsFrame) {
    // 2085 bytes: shorter than the end block, no VBR header.
    files.Add("a.mp3", test::Frames({}, 417, 5));
    EXPECT_FALSE(mp3.ReadInfo("a.mp3"));
    EXPECT_TRUE(mp3.Frame.Found);
    EXPECT_TRUE(mp3.Open("a.mp3"));  // 0.13 s at 128 kbit/s is a valid stream...
    EXPECT_EQ(mp3.TypeName, "");      // ...but the read did not complete
}

TEST_F(MpegFile, XingHeaderDecidesCountAndDurationWhateverTheFileSize) {
    Bytes first = test::XingFrame({}, 417, 36, 1000, 417000, "LAME3.90", 78);
    ASSERT_TRUE(OpenFile(Join({first, test::Frames({}, 417, 10)})));
    Tinfosound s = Sound();
    EXPECT_EQ(s.framecount, "1000");
    EXPECT_EQ(s.duration, "26.1224489795918");
    EXPECT_EQ(s.bitrate, "128");  // 417 bytes a frame at 44100 Hz: 127.7
    EXPECT_EQ(s.encoder, "LAME 3.90");
    EXPECT_EQ(s.encoderid, "3");
    EXPECT_EQ(mp3.Vbr.Scale, 78);
    EXPECT_EQ(mp3.VendorText, "");  // no end-block search with a VBR header

    // A new read leaves nothing of the VBR file behind.
    ASSERT_TRUE(OpenFile(Join({test::Frames({}, 417, 20)})));
    EXPECT_FALSE(mp3.Vbr.Found);
    EXPECT_EQ(Sound().encoder, "FhG");
}

TEST_F(MpegFile, VbriHeaderIsFhGAndAZeroCountFallsBackToTheTable) {
    ASSERT_TRUE(OpenFile(Join({test::VbriFrame({}, 417, 36, 2000, 834000), test::Frames({}, 417, 10)})));
    EXPECT_EQ(Sound().encoder, "FhG");
    EXPECT_EQ(Sound().framecount, "2000");

    ASSERT_TRUE(OpenFile(Join({test::XingFrame({}, 417, 36, 0, 0, "LAME3.90"), test::Frames({}, 417, 20)})));
    Tinfosound s = Sound();
    EXPECT_EQ(s.framecount, "0");
    EXPECT_EQ(s.bitrate, "128");
    EXPECT_EQ(s.duration, "0.5473125");  // 21 frames of 417 bytes at 128 kbit/s
}

TEST_F(MpegFile, VendorMarkIsSoughtInTheLastFiveFramesBeforeID3v1) {
    // The end block stops before the ID3v1 tag; the mark must end within
    // 5 * 417 + 8 bytes of the audio's end.
    for (size_t at : {size_t{6247}, size_t{6246}}) {
        Bytes audio = test::Frames({}, 417, 20);
        std::copy_n("LAME3.90", 8, audio.begin() + static_cast<ptrdiff_t>(at));
        ASSERT_TRUE(OpenFile(Join({audio, OldTag()})));
        EXPECT_EQ(mp3.VendorText, at == 6247 ? "LAME3.90" : "") << at;
        EXPECT_EQ(Sound().encoder, at == 6247 ? "LAME 3.90" : "FhG") << at;
    }
}

TEST_F(MpegFile, TagSizeBeyondTheFileSearchesFromTheStart) {
    Bytes header = {'I', 'D', '3', 3, 0, 0, 0x7F, 0x7F, 0x7F, 0x7F};
    ASSERT_TRUE(OpenFile(Join({header, test::Frames({}, 417, 20)})));
    EXPECT_EQ(mp3.Frame.Position, 10);
    EXPECT_EQ(mp3.ID3v2->TagSize, 0);
}


// Files made by real encoders and taggers (see tests/data/make-fixtures.sh).
TEST(MpegFixtures, LameCbrAndVbrFilesWithBothTags) {
    struct Case {
        const char* file;
        const char* bitrate;
        const char* encoder;
        const char* title1;
        const char* title2;
        const char* track;
    };
    for (const Case& c : {Case{"cbr.mp3", "32", "LAME 3.10", "CBR Title", "CBR Title", "3"},
                          Case{"vbr.mp3", "29", "LAME 3.10", "VBR Title", "VBR Title", "7"}}) {
        TMPEGaudio mp3;
        ASSERT_TRUE(mp3.Open(test::DataPath(c.file))) << c.file;
        ASSERT_TRUE(mp3.ReadInfo(test::DataPath(c.file)));
        Tinfosound s;
        mp3.FillSoundInfo(s);
        EXPECT_EQ(s.version, "MPEG 2");
        EXPECT_EQ(s.layer, "Layer III");
        EXPECT_EQ(s.cnanmod, "Mono");
        EXPECT_EQ(s.samplrate, "16000");
        EXPECT_EQ(s.bitrate, c.bitrate);
        EXPECT_EQ(s.framecount, "44");
        EXPECT_EQ(s.duration, "1.584");
        EXPECT_EQ(s.encoder, c.encoder);
        EXPECT_EQ(s.encoderid, "3");
        Tinfotag t;
        mp3.FillTagInfo(t);
        EXPECT_EQ(t.Title1, c.title1);
        EXPECT_EQ(t.Title2, c.title2);
        EXPECT_EQ(t.Album2, "Fixture Album");
        EXPECT_EQ(t.Track, c.track);
    }
    // The CBR file has no VBR header: its encoder mark is found near the end
    // of the stream.
    TMPEGaudio cbr;
    ASSERT_TRUE(cbr.ReadInfo(test::DataPath("cbr.mp3")));
    EXPECT_FALSE(cbr.Vbr.Found);
    EXPECT_EQ(cbr.VendorText, "LAME3.10");
    EXPECT_EQ(cbr.Frame.Position, 0);
    EXPECT_EQ(cbr.ID3v2->TagSize, 282);
    TMPEGaudio vbr;
    ASSERT_TRUE(vbr.ReadInfo(test::DataPath("vbr.mp3")));
    EXPECT_EQ(vbr.Vbr.Id, "Xing");
    EXPECT_EQ(vbr.Vbr.Bytes, 5724);
}

}  // namespace
}  // namespace qel
