#include <gtest/gtest.h>

#include "player/FileInfoDispatch.h"
#include "readers/TwinVQ.h"
#include "support/AnalysedBytes.h"
#include "support/ContainerBuilders.h"
#include "support/MemoryFiles.h"

namespace qel {
namespace {

using test::Bytes;
using test::TwinVQChunk;
using test::TwinVQShape;

using test::Concat;
using Read = test::AnalysedBytes<TTwinVQ>;

Bytes WithHeader(const TwinVQShape& shape) {
    return Concat({test::TwinVQHeader(shape), TwinVQChunk("DATA", std::string(1000, '\0'))});
}

TEST(TwinVQ, HeaderNumbersAndTheirTables) {
    for (auto [code, rate] : {std::pair{44u, 44100}, {22u, 22050}, {11u, 11025}, {8u, 8000}, {96u, 30464}}) {
        TwinVQShape shape;
        shape.sampleRateCode = code | 0xABCD0000u;  // only the low 16 bits count
        EXPECT_EQ(Read(WithHeader(shape)).reader.SampleRate, rate) << code;
    }
    for (auto [mode, id, text] : {std::tuple{0u, 1, "Mono"}, {1u, 2, "Stereo"}, {5u, 0, "Unknown"}}) {
        TwinVQShape shape;
        shape.channelMode = mode;
        Read r(WithHeader(shape));
        Tinfosound sound;
        r.reader.FillSoundInfo(sound);
        EXPECT_EQ(sound.cnanmodid, std::to_string(id));
        EXPECT_EQ(sound.cnanmod, text);
    }
}

TEST(TwinVQ, DurationFromFileSizeHeaderSizeAndBitRate) {
    TwinVQShape shape;
    Bytes data = WithHeader(shape);
    data.resize(1000020, 0);
    Read r(data);
    ASSERT_TRUE(r.open);
    EXPECT_EQ(r.reader.TypeName, "vqf");
    EXPECT_DOUBLE_EQ(r.reader.Duration, 100);

    // A bit rate above 255 shows cut to 8 bits; the duration uses all 16.
    shape.bitRate = 300;
    shape.headerSize = 20 | 0x00FF0000u;
    data = WithHeader(shape);
    data.resize(1000040, 0);
    Read cut(data);
    EXPECT_EQ(cut.reader.BitRate, 44);
    EXPECT_DOUBLE_EQ(cut.reader.Duration, 1000000 / 125.0 / 300);

    // A header size beyond the file still gives a positive time.
    shape.bitRate = 80;
    shape.headerSize = 2000;
    data = WithHeader(shape);
    data.resize(1000, 0);
    EXPECT_DOUBLE_EQ(Read(data).reader.Duration, 1020 / 125.0 / 80);
}

TEST(TwinVQ, ZeroBitRateGivesNoDurationButTheFileStillOpens) {
    TwinVQShape shape;
    shape.bitRate = 0;
    Read r(Concat({test::TwinVQHeader(shape), TwinVQChunk("NAME", "Named")}));
    EXPECT_TRUE(r.open);
    Tinfosound sound;
    r.reader.FillSoundInfo(sound);
    EXPECT_EQ(sound.duration, "0");
    EXPECT_EQ(sound.bitrate, "0");
    EXPECT_EQ(r.reader.Title, "Named");
}

TEST(TwinVQ, ChunksFillTheirTextsUpToTheAudioData) {
    const Bytes data = Concat({test::TwinVQHeader({}), TwinVQChunk("NAME", "First"), TwinVQChunk("COMT", "Remark"),
                             TwinVQChunk("XTRA", "skipped"), TwinVQChunk("AUTH", "Writer"),
                             TwinVQChunk("(c) ", "Rights"), TwinVQChunk("FILE", "orig.wav"),
                             TwinVQChunk("NAME", "Second"), TwinVQChunk("DATA", "audio"),
                             TwinVQChunk("COMT", "behind the data")});
    Read r(data);
    ASSERT_TRUE(r.open);
    Tinfotag tags;
    tags.Title1 = "stale";
    r.reader.FillTagInfo(tags);
    Tinfotag expected;
    expected.Title2 = "Second";
    expected.Comment2 = "Remark";
    expected.autor = "Writer";
    expected.Copyright2 = "Rights";
    expected.origfile = "orig.wav";
    EXPECT_EQ(tags, expected);
    EXPECT_EQ(r.ArtistTitle(), "Writer - Second");

    // An id with a control character ends the walk like DATA.
    Read control(Concat({test::TwinVQHeader({}), TwinVQChunk("NA\x01E", "x"), TwinVQChunk("NAME", "late")}));
    EXPECT_EQ(control.reader.Title, "");
}

TEST(TwinVQ, ChunkTextsEndAtTheirFirstZeroByte) {
    Read r(Concat({test::TwinVQHeader({}), TwinVQChunk("NAME", "Ten bytes!"),
                 TwinVQChunk("AUTH", std::string("Who\0ever", 8))}));
    EXPECT_EQ(r.reader.Title, "Ten bytes!");
    EXPECT_EQ(r.reader.Author, "Who");
    EXPECT_EQ(r.ArtistTitle(), "Who - Ten bytes!");
}

TEST(TwinVQ, LongChunksKeep250BytesAndTheWalkStaysInStep) {
    Read r(Concat({test::TwinVQHeader({}), TwinVQChunk("COMT", std::string(250, 'c')),
                 TwinVQChunk("NAME", std::string(700, 'n')), TwinVQChunk("AUTH", "After")}));
    EXPECT_EQ(r.reader.Comment, std::string(250, 'c'));
    EXPECT_EQ(r.reader.Title, std::string(250, 'n'));
    EXPECT_EQ(r.reader.Author, "After");
}

TEST(TwinVQ, DamagedFiles) {
    // A chunk cut by the end of the file is dropped; earlier texts stay.
    Read cut(Concat({test::TwinVQHeader({}), TwinVQChunk("NAME", "Kept"), TwinVQChunk("AUTH", "Cut", 100)}));
    EXPECT_TRUE(cut.open);
    EXPECT_EQ(cut.reader.Title, "Kept");
    EXPECT_EQ(cut.reader.Author, "");
    // A chunk header cut short.
    Bytes header = Concat({test::TwinVQHeader({}), TwinVQChunk("NAME", "Kept")});
    header.insert(header.end(), {'A', 'U', 'T'});
    EXPECT_EQ(Read(header).reader.Title, "Kept");

    // Wrong magic: read, but not opened.
    Bytes wrong = WithHeader({});
    wrong[0] = 'X';
    Read other(wrong);
    EXPECT_TRUE(other.read);
    EXPECT_FALSE(other.open);
    EXPECT_EQ(other.reader.TypeName, "");
    // Shorter than the header, or missing: not read, nothing thrown.
    const Bytes whole = WithHeader({});
    Read shortFile(Bytes(whole.begin(), whole.begin() + 39));
    EXPECT_FALSE(shortFile.read);
    EXPECT_FALSE(shortFile.open);
    TTwinVQ vqf;
    EXPECT_FALSE(vqf.ReadInfo("/no/such/file.vqf"));
    EXPECT_FALSE(vqf.Open("/no/such/file.vqf"));
}

TEST(TwinVQ, DispatchRow) {
    MemoryFiles files;
    files.Add("Song.VQF", Concat({test::TwinVQHeader({}), TwinVQChunk("NAME", "Song"), TwinVQChunk("AUTH", "Band")}));
    FileInfoDispatch dispatch(files);
    EXPECT_TRUE(dispatch.ReadFileInfo("Song.VQF"));
    EXPECT_EQ(dispatch.TagType, "vqftag");
    EXPECT_EQ(dispatch.Sound.samplrate, "44100");
    EXPECT_EQ(dispatch.Sound.bitrate, "80");
    EXPECT_EQ(dispatch.FileTitle("Song.VQF"), "Band - Song");
}

}  // namespace
}  // namespace qel
