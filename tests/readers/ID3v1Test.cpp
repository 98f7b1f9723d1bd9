#include <gtest/gtest.h>

#include "readers/ID3v1.h"
#include "support/ID3Builders.h"
#include "support/MemoryFiles.h"

namespace qel {
namespace {

using test::Bytes;

// Reads a file made of some audio bytes followed by the given tail.
TID3v1 ReadWithTail(const Bytes& tail, bool* result = nullptr) {
    static MemoryFiles files;
    Bytes data = tail;
    data.insert(data.begin(), 300, 0xAA);
    files.Add("a.mp3", data);
    TID3v1 tag(files);
    const bool ok = tag.ReadTag("a.mp3");
    if (result) *result = ok;
    return tag;
}

TEST(ID3v1, VersionFollowsTheTwoBytesBeforeTheGenre) {
    // Byte 28 zero and byte 29 set: 1.1 with that track; the comment keeps 28 bytes.
    auto tag = ReadWithTail(test::ID3v1Tag({"T", "A", "B", "1999", std::string(27, 'c') + "d" + '\0' + '\5', 17}));
    EXPECT_EQ(tag.Version, 2);
    EXPECT_EQ(tag.Track, 5);
    EXPECT_EQ(tag.Comment, std::string(27, 'c') + "d");

    tag = ReadWithTail(test::ID3v1Tag({"T", "A", "B", "1999", "short comment", 17}));
    EXPECT_EQ(tag.Version, 1);
    EXPECT_EQ(tag.Track, 0);
    EXPECT_EQ(tag.Comment, "short comment");

    // A full 30-character comment ending in blank and "x" reads as 1.1, track 120.
    tag = ReadWithTail(test::ID3v1Tag({"", "", "", "", std::string(28, 'w') + " x", 0}));
    EXPECT_EQ(tag.Version, 2);
    EXPECT_EQ(tag.Track, 'x');
    EXPECT_EQ(tag.Comment, std::string(28, 'w'));

    // A full 30-character comment of letters stays 1.0 with all 30 kept.
    tag = ReadWithTail(test::ID3v1Tag({"", "", "", "", std::string(30, 'z'), 0}));
    EXPECT_EQ(tag.Version, 1);
    EXPECT_EQ(tag.Comment, std::string(30, 'z'));
}

TEST(ID3v1, FieldsLoseTrailingBlanksAndZerosOnly) {
    auto tag = ReadWithTail(test::ID3v1Tag({"  Song \t", std::string("A\0B", 3), "Album", "2001", "", 13}));
    EXPECT_TRUE(tag.Present);
    EXPECT_EQ(tag.Title, "  Song");
    EXPECT_EQ(tag.Artist, std::string("A\0B", 3));
    EXPECT_EQ(tag.Album, "Album");
    EXPECT_EQ(tag.Year, "2001");
    EXPECT_EQ(tag.GenreName(), "Pop");
    // Bytes of 0x80 and above are characters, not blanks.
    tag = ReadWithTail(test::ID3v1Tag({"caf\xE9", "", "", "", "", 0}));
    EXPECT_EQ(tag.Title, "caf\xE9");
}

TEST(ID3v1, GenreTableEnds) {
    EXPECT_EQ(ID3v1GenreName(0), "Blues");
    EXPECT_EQ(ID3v1GenreName(133), "Afro-Punk");
    EXPECT_EQ(ID3v1GenreName(147), "Synthpop");
    EXPECT_EQ(ID3v1GenreName(148), "");
    EXPECT_EQ(ReadWithTail(test::ID3v1Tag({"", "", "", "", "", 147})).GenreName(), "Synthpop");
    EXPECT_EQ(ReadWithTail(test::ID3v1Tag({"", "", "", "", "", 255})).GenreName(), "");
    for (unsigned i = 0; i < TID3v1::kGenreCount; ++i) EXPECT_FALSE(ID3v1GenreName(i).empty()) << i;
}

TEST(ID3v1, FilesWithoutATag) {
    bool ok = false;
    auto tag = ReadWithTail(Bytes{'T', 'A', 'X'}, &ok);
    EXPECT_TRUE(ok);
    EXPECT_FALSE(tag.Present);
    EXPECT_EQ(tag.GenreIndex, 255);
    EXPECT_EQ(tag.GenreName(), "");

    MemoryFiles files;
    files.Add("short.mp3", Bytes(127, 'T'));
    TID3v1 reader(files);
    EXPECT_FALSE(reader.ReadTag("short.mp3"));
    EXPECT_FALSE(reader.ReadTag("missing.mp3"));

    // A tag exactly the size of the file is read; a later untagged file clears it.
    files.Add("tag.mp3", test::ID3v1Tag({"Only", "", "", "", "", 1}));
    files.Add("plain.mp3", Bytes(500, 1));
    ASSERT_TRUE(reader.ReadTag("tag.mp3"));
    EXPECT_EQ(reader.Title, "Only");
    ASSERT_TRUE(reader.ReadTag("plain.mp3"));
    EXPECT_FALSE(reader.Present);
    EXPECT_EQ(reader.Title, "");
    EXPECT_EQ(reader.GenreIndex, 255);
}


TEST(ID3v1, FixturesWrittenByLameAndMutagen) {
    TID3v1 cbr;
    ASSERT_TRUE(cbr.ReadTag(test::DataPath("cbr.mp3")));
    EXPECT_TRUE(cbr.Present);
    EXPECT_EQ(cbr.Version, 2);
    EXPECT_EQ(cbr.Title, "CBR Title");
    EXPECT_EQ(cbr.Artist, "CBR Artist");
    EXPECT_EQ(cbr.Album, "Fixture Album");
    EXPECT_EQ(cbr.Year, "2024");
    EXPECT_EQ(cbr.Comment, "cbr comment");
    EXPECT_EQ(cbr.Track, 3);
    EXPECT_EQ(cbr.GenreName(), "Rock");

    TID3v1 vbr;
    ASSERT_TRUE(vbr.ReadTag(test::DataPath("vbr.mp3")));
    EXPECT_EQ(vbr.Title, "VBR Title");
    EXPECT_EQ(vbr.Year, "2023");
    EXPECT_EQ(vbr.Track, 7);
    EXPECT_EQ(vbr.GenreName(), "Jazz");

    TID3v1 wav;
    ASSERT_TRUE(wav.ReadTag(test::DataPath("tone.wav")));
    EXPECT_FALSE(wav.Present);
}

}  // namespace
}  // namespace qel
