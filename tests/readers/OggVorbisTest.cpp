#include <gtest/gtest.h>

#include "player/FileInfoDispatch.h"
#include "readers/OggVorbis.h"
#include "readers/TextForms.h"
#include "support/AnalysedBytes.h"
#include "support/ContainerBuilders.h"
#include "support/CountingFiles.h"
#include "support/MemoryFiles.h"
#include "support/TestFiles.h"

namespace qel {
namespace {

using test::Bytes;
using test::OggShape;
using test::VorbisComments;

using Read = test::AnalysedBytes<TOggVorbis>;

Bytes WithComments(const std::vector<std::string>& fields, const std::string& vendor = "Test vendor") {
    OggShape shape;
    shape.comments = VorbisComments(vendor, fields);
    return OggVorbisFile(shape);
}

TEST(OggVorbis, FillsBothRecordsFromHeadersCommentsAndLastPage) {
    OggShape shape;
    shape.comments = VorbisComments("Xiph vendor", {"TITLE=Song", "ARTIST=Band", "ALBUM=Disc", "TRACKNUMBER=3/12",
                                                   "DATE=1999", "GENRE=Pop", "COMMENT=Nice"});
    const Bytes data = OggVorbisFile(shape);
    MemoryFiles files;
    files.Add("a.ogg", data);
    TOggVorbis ogg(files);
    ASSERT_TRUE(ogg.Open("a.ogg"));
    EXPECT_EQ(ogg.TypeName, "ogg");

    Tinfosound sound;
    sound.layer = "stale";
    ogg.FillSoundInfo(sound);
    Tinfosound expected;
    const double seconds = 10;  // 441000 samples at 44100 Hz
    expected.bitrate = IntText(RoundTiesEven(data.size() / seconds / 125));
    expected.bitratenom = "128";
    expected.cnanmod = "Stereo";
    expected.cnanmodid = "2";
    expected.duration = "10";
    expected.filelen = IntText(static_cast<int64_t>(data.size()));
    expected.samplrate = "44100";
    EXPECT_EQ(sound, expected);

    Tinfotag tags;
    tags.Title1 = "stale";
    ogg.FillTagInfo(tags);
    Tinfotag expectedTags;
    expectedTags.Title2 = "Song";
    expectedTags.Artist2 = "Band";
    expectedTags.Album2 = "Disc";
    expectedTags.Track = "3";
    expectedTags.Year2 = "1999";
    expectedTags.Genre2 = "Pop";
    expectedTags.Comment2 = "Nice";
    expectedTags.vendor = "Xiph vendor";
    EXPECT_EQ(tags, expectedTags);

    EXPECT_EQ(ogg.ArtistTitle("a.ogg"), "Band - Song");
}

TEST(OggVorbis, CommentNamesFallbacksAndOverwrites) {
    {
        // ARTIST wins over PERFORMER and COMMENT over DESCRIPTION in any order;
        // names match in any case; a later duplicate replaces an earlier one.
        Read r(WithComments({"PERFORMER=Player", "artist=Band", "DESCRIPTION=Long", "Comment=Short",
                             "TITLE=first", "title=second", "OTHER=x", "ALBUM=  padded  "}));
        ASSERT_TRUE(r.read);
        EXPECT_EQ(r.reader.Artist, "Band");
        EXPECT_EQ(r.reader.Comment, "Short");
        EXPECT_EQ(r.reader.Title, "second");
        EXPECT_EQ(r.reader.Album, "padded");
    }
    {
        Read r(WithComments({"PERFORMER=Player", "DESCRIPTION=Long"}));
        EXPECT_EQ(r.reader.Artist, "Player");
        EXPECT_EQ(r.reader.Comment, "Long");
    }
}

TEST(OggVorbis, TrackNumberIsParsedAndCutToEightBits) {
    EXPECT_EQ(Read(WithComments({"TRACKNUMBER=3/12"})).reader.Track, 3);
    EXPECT_EQ(Read(WithComments({"TRACKNUMBER=x"})).reader.Track, 0);
    EXPECT_EQ(Read(WithComments({"TRACKNUMBER=300"})).reader.Track, 44);
    EXPECT_EQ(Read(WithComments({"TRACKNUMBER=-1"})).reader.Track, 255);
    Tinfotag tags;
    Read none(WithComments({}));
    none.reader.FillTagInfo(tags);
    EXPECT_EQ(tags.Track, "0");
}

TEST(OggVorbis, ValuesAreDecodedFromUtf8AndCutAtABadSequence) {
    Read r(WithComments({"TITLE=Caf\xC3\xA9", "GENRE=Rock\xE0\x41more"}, "Vendor \xC3\xA9"));
    EXPECT_EQ(r.reader.Title, "Caf\xE9");
    EXPECT_EQ(r.reader.Genre, "Rock");
    EXPECT_EQ(r.reader.Vendor, "Vendor \xC3\xA9");  // the vendor text is not decoded
}

TEST(OggVorbis, LongCommentKeepsItsFirst250BytesAndTheNextIsStillRead) {
    const std::string longTitle(300, 'x');
    Read r(WithComments({"TITLE=" + longTitle, "ARTIST=Next"}));
    EXPECT_EQ(r.reader.Title, std::string(250 - 6, 'x'));
    EXPECT_EQ(r.reader.Artist, "Next");
}

// A picture before the text fields makes the comment packet run over pages:
// the fields behind it are read, the picture's bytes passed over unread.
TEST(OggVorbis, CommentPacketOverSeveralPagesSkipsThePicture) {
    OggShape shape;
    shape.comments = VorbisComments("v", {"METADATA_BLOCK_PICTURE=" + std::string(100000, 'A'), "TITLE=Song"});
    shape.commentPageBytes = 16 * 255;
    MemoryFiles memory;
    memory.Add("a.ogg", OggVorbisFile(shape));
    test::CountingFiles files(memory);
    TOggVorbis ogg(files);
    ASSERT_TRUE(ogg.Open("a.ogg"));
    EXPECT_EQ(ogg.Title, "Song");
    EXPECT_LT(files.bytes, 30000);  // page headers and the end of the file
}

// A page of another stream inside the packet is passed over; a page that
// does not continue the packet ends it.
TEST(OggVorbis, CommentPacketFollowsOnlyItsOwnStream) {
    const Bytes packet = test::VorbisCommentPacket(VorbisComments("v", {std::string(5000, 'x'), "TITLE=Song"}));
    const size_t secondPage = 27 + 16 + 16 * 255;
    auto file = [&](const Bytes& pages) {
        return test::Concat({test::OggPage(test::VorbisIdentPacket(2, 44100, 128000), 0), pages,
                             test::OggPage(Bytes(4000, 0), 441000, 9)});
    };
    Bytes pages = test::OggPages(packet, 16 * 255, 1);
    const Bytes other = test::OggPages(Bytes(300, 'y'), 16 * 255, 1, 0x9999);
    Bytes interleaved = pages;
    interleaved.insert(interleaved.begin() + secondPage, other.begin(), other.end());
    EXPECT_EQ(Read(file(interleaved)).reader.Title, "Song");
    pages[secondPage + 5] = 0;  // the continued flag
    EXPECT_EQ(Read(file(pages)).reader.Title, "");
}

// The packet ends after 16 MiB or 8192 pages: a field behind either bound is not read.
TEST(OggVorbis, CommentPacketWalkIsBounded) {
    auto title = [](size_t longField, size_t pageBytes) {
        OggShape shape;
        shape.comments = VorbisComments("v", {"COMMENT=" + std::string(longField, 'x'), "TITLE=reached"});
        shape.commentPageBytes = pageBytes;
        return Read(OggVorbisFile(shape)).reader.Title;
    };
    EXPECT_EQ(title((16 << 20) - 100, 254 * 255), "reached");
    EXPECT_EQ(title(16 << 20, 254 * 255), "");
    EXPECT_EQ(title(8000 * 255, 255), "reached");
    EXPECT_EQ(title(8192 * 255, 255), "");
}

TEST(OggVorbis, TextsWithoutEqualsSignFillTheVendorOnlyOnce) {
    // A vendor text with "=" is taken as a comment; the first plain text then becomes the vendor.
    Read r(WithComments({"plain", "other", "=Nameless"}, "TITLE=from vendor"));
    EXPECT_EQ(r.reader.Title, "from vendor");
    EXPECT_EQ(r.reader.Vendor, "plain");
}

TEST(OggVorbis, LeadingID3v2TagIsSkippedByItsDeclaredSize) {
    const Bytes ogg = OggVorbisFile(OggShape{});
    auto tagged = [&](uint8_t flags, uint8_t lastSizeByte, size_t body) {
        Bytes data;
        test::Append(data, "ID3");
        data.insert(data.end(), {4, 0, flags, 0, 0, 0, lastSizeByte});
        test::AppendZeros(data, body);
        data.insert(data.end(), ogg.begin(), ogg.end());
        return data;
    };
    Read plain(tagged(0, 100, 100));
    EXPECT_TRUE(plain.read);
    EXPECT_EQ(plain.reader.LeadingTagSize, 110);
    Read footer(tagged(0x10, 100, 110));
    EXPECT_TRUE(footer.read);
    EXPECT_EQ(footer.reader.LeadingTagSize, 120);
    // The size bytes are taken whole: 0x80 counts 128.
    Read wide(tagged(0, 0x80, 128));
    EXPECT_TRUE(wide.read);
    EXPECT_EQ(wide.reader.LeadingTagSize, 138);
    // A declared size beyond the file is ignored, so no page is found at 0.
    Bytes huge = tagged(0, 100, 100);
    huge[6] = 0x7F;
    EXPECT_FALSE(Read(huge).read);
}

TEST(OggVorbis, SampleRateKeepsAllThirtyTwoBits) {
    OggShape shape;
    shape.sampleRate = 96000;
    shape.lastGranule = 960000;
    Read r(OggVorbisFile(shape));
    EXPECT_EQ(r.reader.SampleRate, 96000u);
    EXPECT_DOUBLE_EQ(r.reader.DurationSeconds(), 10);
    shape.sampleRate = 65536;  // low 16 bits all zero
    MemoryFiles files;
    files.Add("b.ogg", OggVorbisFile(shape));
    EXPECT_TRUE(TOggVorbis(files).Open("b.ogg"));
}

TEST(OggVorbis, WithoutLastPageTheDurationComesFromTheNominalBitRate) {
    OggShape shape;
    shape.audioBytes = 0;
    shape.lastGranule = 0;
    Bytes data = OggVorbisFile(shape);
    data.resize(1600000, 0);  // no page marker in the last windows
    Read r(data);
    EXPECT_EQ(r.reader.TotalSamples, 0);
    EXPECT_DOUBLE_EQ(r.reader.DurationSeconds(), 100);
    EXPECT_EQ(r.reader.BitRateKbps(), 128);
}

TEST(OggVorbis, LastPageIsFoundInSmallFiles) {
    // Windows that would begin before the file are read from its start.
    OggShape shape;
    shape.audioBytes = 20;
    shape.lastGranule = 88200;
    const Bytes small = OggVorbisFile(shape);
    ASSERT_LT(small.size(), 251u);
    EXPECT_EQ(Read(small).reader.TotalSamples, 88200);

    // Only the comment page carries a granule, far from the end of a 2000-byte file.
    shape.audioBytes = 0;
    Bytes data = test::OggPage(test::VorbisIdentPacket(2, 44100, 128000), 0);
    const Bytes second = test::OggPage(test::VorbisCommentPacket(VorbisComments("v", {})), 22050);
    data.insert(data.end(), second.begin(), second.end());
    data.resize(2000, 0);
    Read r(data);
    EXPECT_EQ(r.reader.TotalSamples, 22050);
    EXPECT_DOUBLE_EQ(r.reader.DurationSeconds(), 0.5);
}

TEST(OggVorbis, OpenRejectsStreamsThatCannotBePlayed) {
    auto opens = [](const OggShape& shape) {
        MemoryFiles files;
        files.Add("a.ogg", OggVorbisFile(shape));
        TOggVorbis ogg(files);
        const bool open = ogg.Open("a.ogg");
        EXPECT_EQ(ogg.TypeName, open ? "ogg" : "");
        return open;
    };
    OggShape shape;
    EXPECT_TRUE(opens(shape));
    shape.channels = 3;
    EXPECT_FALSE(opens(shape));
    shape.channels = 0;
    EXPECT_FALSE(opens(shape));
    shape = OggShape{};
    shape.sampleRate = 0;
    EXPECT_FALSE(opens(shape));
    shape = OggShape{};
    shape.lastGranule = 4410;  // exactly 0.1 s
    EXPECT_FALSE(opens(shape));
    shape.lastGranule = 4411;
    EXPECT_TRUE(opens(shape));
}

TEST(OggVorbis, ChannelTextsIncludeCountsAboveTwo) {
    OggShape shape;
    for (auto [channels, text] : {std::pair{0, "Unknown"}, {1, "Mono"}, {2, "Stereo"}, {6, "Multi Channel"}}) {
        shape.channels = static_cast<uint8_t>(channels);
        Read r(OggVorbisFile(shape));
        Tinfosound sound;
        r.reader.FillSoundInfo(sound);
        EXPECT_EQ(sound.cnanmod, text);
        EXPECT_EQ(sound.cnanmodid, IntText(channels));
    }
}

TEST(OggVorbis, NotVorbisGivesFalseWithEveryFieldCleared) {
    MemoryFiles files;
    files.Add("good.ogg", WithComments({"TITLE=Kept?"}));
    Bytes noIdent = OggVorbisFile(OggShape{});
    noIdent[28] = 0x05;  // first byte of the identification header
    files.Add("noident.ogg", noIdent);
    files.Add("text.ogg", Bytes{'h', 'e', 'l', 'l', 'o'});
    files.Add("empty.ogg", Bytes{});
    TOggVorbis ogg(files);
    for (const char* name : {"noident.ogg", "text.ogg", "empty.ogg"}) {
        ASSERT_TRUE(ogg.ReadInfo("good.ogg"));
        EXPECT_FALSE(ogg.Open(name)) << name;
        EXPECT_EQ(ogg.Title, "") << name;
        EXPECT_EQ(ogg.FileLength, 0) << name;
        EXPECT_EQ(ogg.TypeName, "") << name;
    }
    EXPECT_THROW(ogg.ReadInfo("missing.ogg"), FileOpenError);
}

TEST(OggVorbis, TruncatedHeadersReadAsZeroBytes) {
    const Bytes whole = OggVorbisFile(OggShape{});
    const size_t firstPage = 28 + 30;
    // Cut right behind the identification header, and inside the second page header.
    for (size_t cut : {firstPage, firstPage + 10}) {
        Read r(Bytes(whole.begin(), whole.begin() + cut));
        EXPECT_TRUE(r.read) << cut;
        EXPECT_EQ(r.reader.Channels, 2) << cut;
        EXPECT_EQ(r.reader.SampleRate, 44100u) << cut;
        EXPECT_EQ(r.reader.Vendor, "") << cut;
    }
    // Cut inside the identification header: its missing bytes are zero.
    Read cutIdent(Bytes(whole.begin(), whole.begin() + 28 + 13));
    EXPECT_TRUE(cutIdent.read);
    EXPECT_EQ(cutIdent.reader.Channels, 2);
    EXPECT_EQ(cutIdent.reader.SampleRate, 44100u & 0xFF);
}

TEST(OggVorbis, DamagedCommentLengthsAndCountsEndAtTheEndOfTheFile) {
    OggShape shape;
    // A length running past the end of the file ends the comments; what came before stays.
    Bytes comments = VorbisComments("v", {"TITLE=kept"}, 3);
    test::AppendLE32(comments, 0xFFFFFFF0u);
    test::Append(comments, "ARTIST=cut");
    shape.comments = comments;
    Read huge(OggVorbisFile(shape));
    EXPECT_TRUE(huge.read);
    EXPECT_EQ(huge.reader.Title, "kept");
    EXPECT_EQ(huge.reader.TotalSamples, 441000);

    // A count far beyond the fields present, and a negative count.
    shape.comments = VorbisComments("v", {"TITLE=a", "ARTIST=b"}, 0x7FFFFFFF);
    Read many(OggVorbisFile(shape));
    EXPECT_EQ(many.reader.Title, "a");
    EXPECT_EQ(many.reader.Artist, "b");
    shape.comments = VorbisComments("v", {"TITLE=a"}, 0x80000000u);
    Read negative(OggVorbisFile(shape));
    EXPECT_EQ(negative.reader.Vendor, "v");
    EXPECT_EQ(negative.reader.Title, "");
}

TEST(OggVorbis, DispatchRowAndDisplayTitle) {
    MemoryFiles files;
    files.Add("dir.x/Song.OGG", WithComments({"TITLE=Song", "ARTIST=Band"}));
    FileInfoDispatch dispatch(files);
    EXPECT_TRUE(dispatch.ReadFileInfo("dir.x/Song.OGG"));
    EXPECT_EQ(dispatch.TagType, "oggtag");
    EXPECT_EQ(dispatch.Tags.Title2, "Song");
    EXPECT_EQ(dispatch.Sound.samplrate, "44100");
    EXPECT_EQ(dispatch.FileTitle("dir.x/Song.OGG"), "Band - Song");
    EXPECT_FALSE(dispatch.ReadFileInfo("missing.ogg"));
    EXPECT_EQ(dispatch.TagType, "notag");
    EXPECT_EQ(dispatch.FileTitle("missing.ogg"), "");
}

TEST(OggVorbis, EncoderFixture) {
    TOggVorbis ogg;
    ASSERT_TRUE(ogg.Open(test::DataPath("oggenc-sine.ogg")));
    EXPECT_EQ(ogg.Channels, 2);
    EXPECT_EQ(ogg.SampleRate, 44100u);
    EXPECT_EQ(ogg.NominalKbps, 64);
    EXPECT_EQ(ogg.TotalSamples, 22050);
    EXPECT_EQ(ogg.Title, "Fixture Title");
    EXPECT_EQ(ogg.Artist, "Fixture Artist");
    EXPECT_EQ(ogg.Album, "Fixture Album");
    EXPECT_EQ(ogg.Track, 7);
    EXPECT_EQ(ogg.Date, "2003");
    EXPECT_EQ(ogg.Genre, "Blues");
    EXPECT_EQ(ogg.Comment, "made by oggenc");
    EXPECT_EQ(ogg.Vendor.rfind("Xiph.Org libVorbis", 0), 0u);
    Tinfosound sound;
    ogg.FillSoundInfo(sound);
    EXPECT_EQ(sound.duration, "0.5");
    EXPECT_EQ(sound.filelen, IntText(static_cast<int64_t>(test::ReadFileBytes(test::DataPath("oggenc-sine.ogg")).size())));
}

}  // namespace
}  // namespace qel
