#include <gtest/gtest.h>

#include <algorithm>

#include "player/FileInfoDispatch.h"
#include "readers/FLACfile.h"
#include "support/AnalysedBytes.h"
#include "support/ContainerBuilders.h"
#include "support/ID3Builders.h"
#include "support/MemoryFiles.h"
#include "support/TestFiles.h"

namespace qel {
namespace {

using test::Bytes;
using test::FlacBlock;
using test::FlacShape;
using test::VorbisComments;

using test::Concat;

constexpr uint8_t kPadding = 1, kSeekTable = 3, kComments = 4, kPicture = 6;

struct Read {
    MemoryFiles files;
    TFLACfile flac{files};
    bool open = false;
    explicit Read(const Bytes& data) {
        files.Add("a.flac", data);
        open = flac.Open("a.flac");
    }
};

Bytes WithComments(const std::vector<std::string>& fields) {
    return Concat({test::FlacStart({}), FlacBlock(kComments, true, VorbisComments("ref vendor", fields))});
}

TEST(FLACfile, StreamInfoOnlyGivesDurationAndBitRateFromOffset42) {
    FlacShape shape;
    shape.streamInfoIsLast = true;
    Bytes data = test::FlacStart(shape);
    data.resize(1000042, 0);
    Read r(data);
    ASSERT_TRUE(r.open);
    EXPECT_EQ(r.flac.TypeName, "flac");
    EXPECT_EQ(r.flac.AudioOffset, 42);
    EXPECT_EQ(r.flac.Channels, 2);
    EXPECT_EQ(r.flac.BitsPerSample, 16);
    Tinfosound sound;
    sound.filelen = "stale";
    r.flac.FillSoundInfo(sound);
    Tinfosound expected;
    expected.bitrate = "800";
    expected.cnanmod = "Stereo";
    expected.duration = "10";
    expected.samplrate = "44100";
    EXPECT_EQ(sound, expected);
}

TEST(FLACfile, StreamInfoBitFieldsAndTheLow32BitsOfTheSampleCount) {
    FlacShape shape;
    shape.sampleRate = 655350;  // 20 bits
    shape.channels = 8;
    shape.bitsPerSample = 32;
    shape.totalSamples = 0xF00000000ull + 655350;  // the top 4 bits are dropped
    shape.streamInfoIsLast = true;
    Read r(test::FlacStart(shape));
    EXPECT_EQ(r.flac.SampleRate, 655350);
    EXPECT_EQ(r.flac.Channels, 8);
    EXPECT_EQ(r.flac.BitsPerSample, 32);
    EXPECT_EQ(r.flac.TotalSamples, 655350);
    EXPECT_DOUBLE_EQ(r.flac.DurationSeconds(), 1);
    EXPECT_EQ(r.flac.ChannelText(), "Multi Channel");
    shape.channels = 1;
    EXPECT_EQ(Read(test::FlacStart(shape)).flac.ChannelText(), "Mono");
}

TEST(FLACfile, CommentsFillTheRecordFirstOccurrenceWinning) {
    Read r(WithComments({"title=First", "TITLE=Second", "ARTIST=Band", "ALBUM=Disc", "TRACKNUMBER=3/12",
                         "DATE=1999", "GENRE=Pop", "COMMENT= spaced ", "ORGANIZATION=Label", "NOEQUALS",
                         "=nameless", "UNKNOWN=x", "ISRC=Code"}));
    ASSERT_TRUE(r.open);
    EXPECT_EQ(r.flac.Organization, "Label");
    EXPECT_EQ(r.flac.Isrc, "Code");
    Tinfotag tags;
    tags.Title1 = "stale";
    r.flac.FillTagInfo(tags);
    Tinfotag expected;
    expected.Title2 = "First";
    expected.Artist2 = "Band";
    expected.Album2 = "Disc";
    expected.Track = "3/12";  // as written
    expected.Year2 = "1999";
    expected.Genre2 = "Pop";
    expected.Comment2 = " spaced ";  // not trimmed
    expected.vendor = "ref vendor";
    EXPECT_EQ(tags, expected);
    EXPECT_EQ(r.flac.ArtistTitle("a.flac"), "Band - First");

    // An empty value leaves the field free for a later one.
    EXPECT_EQ(Read(WithComments({"TITLE=", "TITLE=Later"})).flac.Title, "Later");
}

TEST(FLACfile, ValuesAreDecodedFromUtf8AndCutAtABadSequence) {
    Read r(WithComments({"TITLE=Caf\xC3\xA9", "GENRE=Rock\xE0\x41more", std::string("COMMENT=a\0b", 11)}));
    EXPECT_EQ(r.flac.Title, "Caf\xE9");
    EXPECT_EQ(r.flac.Genre, "Rock");
    EXPECT_EQ(r.flac.Comment, std::string("a\0b", 3));
}

TEST(FLACfile, MetadataBlocksBeforeAndAfterTheComments) {
    // A seek table is passed over; two padding blocks; a picture and a reserved
    // type are skipped and the comments behind them are still read.
    const Bytes data = Concat({test::FlacStart({}), FlacBlock(kSeekTable, false, Bytes(18, 0)),
                             FlacBlock(kPadding, false, Bytes(100, 0)), FlacBlock(kPicture, false, Bytes(300, 7)),
                             FlacBlock(kPadding, false, Bytes(10, 0)), FlacBlock(100, false, Bytes(5, 1)),
                             FlacBlock(kComments, true, VorbisComments("v", {"TITLE=Behind"})), Bytes(1000, 0)});
    Read r(data);
    ASSERT_TRUE(r.open);
    EXPECT_EQ(r.flac.Title, "Behind");
    EXPECT_EQ(r.flac.AudioOffset, static_cast<int32_t>(data.size() - 1000));
}

TEST(FLACfile, OnlyTheInvalidBlockTypeMakesTheStreamInvalid) {
    Read r(Concat({test::FlacStart({}), FlacBlock(127, false, Bytes(4, 0)),
                 FlacBlock(kComments, true, VorbisComments("v", {"TITLE=unread"}))}));
    EXPECT_FALSE(r.open);
    EXPECT_EQ(r.flac.TypeName, "");
    EXPECT_EQ(r.flac.TotalSamples, 0);
    EXPECT_EQ(r.flac.Title, "");
    Tinfosound sound;
    r.flac.FillSoundInfo(sound);
    EXPECT_EQ(sound.cnanmod, "");
    EXPECT_EQ(sound.bitrate, "0");
}

TEST(FLACfile, ZeroLengthBlockEndsTheScanWithAValidStream) {
    const Bytes data = Concat({test::FlacStart({}), FlacBlock(kSeekTable, false, {}),
                             FlacBlock(kComments, true, VorbisComments("v", {"TITLE=unread"}))});
    Read r(data);
    EXPECT_TRUE(r.open);
    EXPECT_EQ(r.flac.Title, "");
    EXPECT_EQ(r.flac.AudioOffset, 46);
}

TEST(FLACfile, CommentDataDecidesWhereTheNextHeaderIs) {
    // The block claims 4 bytes more than its comments use: the next header is
    // read right behind the comments.
    const Bytes comments = VorbisComments("v", {"TITLE=t"});
    const Bytes data = Concat({test::FlacStart({}),
                             FlacBlock(kComments, false, comments, static_cast<uint32_t>(comments.size() + 4)),
                             FlacBlock(127, true, {0})});
    EXPECT_FALSE(Read(data).open);
}

TEST(FLACfile, ReadsBehindALeadingID3v2Tag) {
    const Bytes tag = test::ID3v2Builder(3).Frame("TIT2", test::Latin1Text("ID3 title")).Padding(20).Build();
    const Bytes flac = WithComments({"TITLE=FLAC title"});
    Read r(Concat({tag, flac}));
    ASSERT_TRUE(r.open);
    EXPECT_EQ(r.flac.Title, "FLAC title");
    EXPECT_EQ(r.flac.AudioOffset, static_cast<int32_t>(tag.size() + flac.size()));
}

TEST(FLACfile, DamagedLengthsAndCountsAreBoundedByTheFile) {
    // Lengths beyond the file: the text keeps what is there and the scan ends.
    Bytes comments = VorbisComments("v", {"TITLE=kept"}, 5);
    test::AppendLE32(comments, 0xFFFFFFFFu);
    test::Append(comments, "ARTIST=cut");
    Read huge(Concat({test::FlacStart({}), FlacBlock(kComments, false, comments)}));
    EXPECT_TRUE(huge.open);
    EXPECT_EQ(huge.flac.Title, "kept");
    EXPECT_EQ(huge.flac.Artist, "cut");
    EXPECT_EQ(huge.flac.AudioOffset, huge.flac.FileLength);

    // Counts far beyond the fields present, or negative.
    EXPECT_EQ(Read(Concat({test::FlacStart({}), FlacBlock(kComments, true, VorbisComments("v", {"TITLE=a"}, 0x7FFFFFFF))}))
                  .flac.Title,
              "a");
    Read negative(Concat({test::FlacStart({}), FlacBlock(kComments, true, VorbisComments("v", {"TITLE=a"}, 0x80000000u))}));
    EXPECT_TRUE(negative.open);
    EXPECT_EQ(negative.flac.Title, "");

    // A vendor length beyond the block: the vendor runs on past the block, as
    // far as its own length says.
    Bytes vendor;
    test::AppendLE32(vendor, 1000);
    test::Append(vendor, std::string(50, 'v'));
    Read longVendor(Concat({test::FlacStart({}), FlacBlock(kComments, false, vendor, 20), Bytes(2000, 'x')}));
    EXPECT_EQ(longVendor.flac.Vendor, std::string(50, 'v') + std::string(950, 'x'));
    // A block that claims 1 byte around intact comments: they are read whole,
    // and the next header is read where they end.
    const Bytes intact = VorbisComments("ref vendor", {"TITLE=long enough"});
    Read shortBlock(Concat({test::FlacStart({}), FlacBlock(kComments, false, intact, 1), FlacBlock(127, true, {0})}));
    EXPECT_FALSE(shortBlock.open);
    EXPECT_EQ(shortBlock.flac.Vendor, "ref vendor");
    EXPECT_EQ(shortBlock.flac.Title, "long enough");

    // Padding, pictures and reserved types beyond the file end the scan at its end.
    for (uint8_t type : {kPadding, kPicture, uint8_t{126}}) {
        Read cut(Concat({test::FlacStart({}), FlacBlock(type, false, Bytes(10, 0), 5000)}));
        EXPECT_TRUE(cut.open) << int{type};
        EXPECT_EQ(cut.flac.AudioOffset, cut.flac.FileLength) << int{type};
        EXPECT_EQ(cut.flac.BitRate, 0) << int{type};
    }
}

TEST(FLACfile, ShortSeekTableFailsTheRead) {
    MemoryFiles files;
    files.Add("a.flac", Concat({test::FlacStart({}), FlacBlock(kSeekTable, false, Bytes(10, 0), 18)}));
    TFLACfile flac(files);
    EXPECT_THROW(flac.Open("a.flac"), FlacBlockError);
    FileInfoDispatch dispatch(files);
    EXPECT_FALSE(dispatch.ReadFileInfo("a.flac"));
    EXPECT_EQ(dispatch.TagType, "notag");
}

TEST(FLACfile, NotFlacAndMissingFiles) {
    MemoryFiles files;
    files.Add("good.flac", WithComments({"TITLE=Old"}));
    files.Add("ogg.flac", Bytes{'O', 'g', 'g', 'S', 0, 0});
    Bytes noSamples = test::FlacStart({});
    std::fill(noSamples.begin() + 22, noSamples.begin() + 26, 0);  // sample count
    files.Add("nosamples.flac", noSamples);
    TFLACfile flac(files);
    for (const char* name : {"ogg.flac", "nosamples.flac"}) {
        ASSERT_TRUE(flac.Open("good.flac"));
        EXPECT_FALSE(flac.Open(name)) << name;
        EXPECT_EQ(flac.Title, "") << name;
        EXPECT_EQ(flac.BitRate, 0) << name;
    }
    EXPECT_EQ(flac.SampleRate, 44100);
    EXPECT_THROW(flac.Open("missing.flac"), FileOpenError);
    EXPECT_THROW(flac.ReadInfo("good.flac"), AbstractCallError);
}

TEST(FLACfile, DispatchRowOpensOnceWithoutReadInfo) {
    MemoryFiles files;
    files.Add("Song.Flac", WithComments({"TITLE=Song", "ARTIST=Band"}));
    files.Add("Song.flc", WithComments({"TITLE=Other"}));
    FileInfoDispatch dispatch(files);
    EXPECT_TRUE(dispatch.ReadFileInfo("Song.Flac"));
    EXPECT_EQ(dispatch.TagType, "flactag");
    EXPECT_EQ(dispatch.Tags.Title2, "Song");
    EXPECT_EQ(dispatch.Sound.samplrate, "44100");
    EXPECT_EQ(dispatch.FileTitle("Song.Flac"), "Band - Song");
    EXPECT_TRUE(dispatch.ReadFileInfo("Song.flc"));
    EXPECT_EQ(dispatch.FileTitle("Song.flc"), " - Other");
}

TEST(FLACfile, EncoderFixtureWithCoverArt) {
    TFLACfile flac;
    ASSERT_TRUE(flac.Open(test::DataPath("flac-sine.flac")));
    EXPECT_EQ(flac.Channels, 1);
    EXPECT_EQ(flac.SampleRate, 44100);
    EXPECT_EQ(flac.BitsPerSample, 16);
    EXPECT_EQ(flac.TotalSamples, 11025);
    // STREAMINFO, seek table, comments, picture and padding precede the audio.
    EXPECT_EQ(flac.AudioOffset, 42 + (4 + 18) + (4 + 182) + (4 + 115) + (4 + 8192));
    EXPECT_EQ(flac.Title, "Fixture Title");
    EXPECT_EQ(flac.Artist, "Fixture Artist");
    EXPECT_EQ(flac.Album, "Fixture Album");
    EXPECT_EQ(flac.TrackText, "7/9");
    EXPECT_EQ(flac.Date, "2003");
    EXPECT_EQ(flac.Genre, "Blues");
    EXPECT_EQ(flac.Comment, "made by flac");
    EXPECT_EQ(flac.Vendor.rfind("reference libFLAC", 0), 0u);
    Tinfosound sound;
    flac.FillSoundInfo(sound);
    EXPECT_EQ(sound.duration, "0.25");
    EXPECT_EQ(sound.cnanmod, "Mono");
}

}  // namespace
}  // namespace qel
