#include <gtest/gtest.h>

#include "platform/CodePage.h"
#include "readers/APEtag.h"
#include "support/AnalysedBytes.h"
#include "support/ApeTagBytes.h"
#include "support/ID3Builders.h"
#include "support/TestFiles.h"

namespace qel {
namespace {

using test::ApeItem;
using test::ApeTag;
using test::ApeTagAround;
using test::ApeTagLayout;
using test::Bytes;
using test::Concat;
using test::ScratchFile;

Bytes Audio(size_t size) { return Bytes(size, 0x55); }

struct Read {
    explicit Read(const Bytes& contents) : file("ape.ape", contents) { ok = ape.ReadInfo(file.path()); }
    ScratchFile file;
    TAPEtag ape;
    bool ok = false;
};

const std::vector<ApeItem> kFullTag = {
    {"Title", "Song"},   {"Artist", "Band"},   {"Album", "Record"},   {"Track", "7/10"},
    {"Year", "1999"},    {"Genre", "Rock"},    {"Comment", "Nice"},   {"Copyright", "(c) Band"},
};

TEST(APEtag, FooterAtTheEndOrInFrontOfAnID3v1Tag) {
    for (bool withID3v1 : {false, true}) {
        for (bool withHeader : {false, true}) {
            SCOPED_TRACE(testing::Message() << "ID3v1 " << withID3v1 << " header " << withHeader);
            ApeTagLayout layout;
            layout.header = withHeader;
            Bytes file = Concat({Audio(500), ApeTag(kFullTag, layout)});
            if (withID3v1) {
                test::ID3v1Fields id3;
                id3.title = "Other";
                file = Concat({file, test::ID3v1Tag(id3)});
            }
            Read r(file);
            ASSERT_TRUE(r.ok);
            EXPECT_TRUE(r.ape.Present);
            EXPECT_EQ(r.ape.Version, 2000);
            EXPECT_EQ(r.ape.TagSize, static_cast<int32_t>(ApeTag(kFullTag).size()));
            Tinfotag tags;
            tags.Title2 = "stale";
            r.ape.FillTagInfo(tags);
            Tinfotag expected;
            expected.Titlea = "Song";
            expected.Artista = "Band";
            expected.Albuma = "Record";
            expected.Tracka = "7";
            expected.Yeara = "1999";
            expected.Genrea = "Rock";
            expected.Commenta = "Nice";
            expected.Copyrighta = "(c) Band";
            EXPECT_EQ(tags, expected);  // every other field empty, also the stale one
        }
    }
}

TEST(APEtag, NoTagShortFileAndMissingFile) {
    {
        Read r(Audio(400));
        EXPECT_TRUE(r.ok);
        EXPECT_FALSE(r.ape.Present);
        EXPECT_FALSE(r.ape.Open(r.file.path()));
    }
    {
        // A whole tag, but the file is shorter than an ID3v1 tag.
        Bytes small = ApeTag({{"Title", "x"}});
        ASSERT_LT(small.size(), 128u);
        Read r(small);
        EXPECT_FALSE(r.ok);
        EXPECT_FALSE(r.ape.Present);
    }
    TAPEtag ape;
    EXPECT_FALSE(ape.ReadInfo(test::ScratchFolder() + "missing.ape"));
    EXPECT_FALSE(ape.Open(test::ScratchFolder() + "missing.ape"));
    ScratchFile file("tagged.ape", Concat({Audio(300), ApeTag(kFullTag)}));
    EXPECT_TRUE(ape.Open(file.path()));
    EXPECT_TRUE(ape.TypeName.empty());
    EXPECT_EQ(ape.ArtistTitle(file.path()), "");
    Tinfosound sound;
    sound.bitrate = "128";
    ape.FillSoundInfo(sound);
    EXPECT_EQ(sound.bitrate, "128");  // left as it was
}

TEST(APEtag, Utf8OnlyFromVersion2000AndCutAtTheFirstBadSequence) {
    const std::string utf8 = "Caf\xC3\xA9";
    ApeTagLayout v1;
    v1.version = 1000;
    Read old(Concat({Audio(300), ApeTag({{"Title", utf8}}, v1)}));
    EXPECT_EQ(old.ape.Title, utf8);
    Read current(Concat({Audio(300), ApeTag({{"Title", utf8}, {"Artist", "Ab\xC3(cd"}})}));
    EXPECT_EQ(current.ape.Title, WideToSystem(u"Caf\u00E9"));
    EXPECT_NE(current.ape.Title, utf8);
    EXPECT_EQ(current.ape.Artist, "Ab");
}

TEST(APEtag, KeysIgnoreCaseLastItemWinsUnknownKeysDropped) {
    Read r(Concat({Audio(300), ApeTag({{"TITLE", "first"},
                                     {"Lyrics", "la la"},
                                     {"title", "second"},
                                     {" Artist ", "  padded value \t"},
                                     {"ALBUM", "A"},
                                     {"Albums", "not an album"}})}));
    EXPECT_EQ(r.ape.Title, "second");
    EXPECT_EQ(r.ape.Artist, "padded value");
    EXPECT_EQ(r.ape.Album, "A");
    EXPECT_EQ(r.ape.Comment, "");
}

TEST(APEtag, TrackTakesTheNumberBeforeTheSlashCutTo8Bits) {
    const std::vector<std::pair<std::string, uint8_t>> cases = {
        {"7/10", 7}, {"300", 44}, {" 12", 12}, {"x", 0}, {"-1", 255}};
    for (const auto& [text, track] : cases) {
        Read r(Concat({Audio(300), ApeTag({{"Track", text}})}));
        EXPECT_EQ(r.ape.Track, track) << text;
    }
    Read none(Concat({Audio(300), ApeTag({{"Title", "t"}})}));
    Tinfotag tags;
    none.ape.FillTagInfo(tags);
    EXPECT_EQ(tags.Tracka, "0");
}

TEST(APEtag, LongValueKeepsItsFirst250BytesAndTheNextItemIsFound) {
    std::string longValue;
    for (int i = 0; i < 300; ++i) longValue += static_cast<char>('a' + i % 26);
    Read r(Concat({Audio(300), ApeTag({{"Comment", longValue}, {"Title", "after"}})}));
    EXPECT_EQ(r.ape.Comment, longValue.substr(0, 250));
    EXPECT_EQ(r.ape.Title, "after");
}

TEST(APEtag, DamagedCountsAndSizesStayInsideTheTag) {
    const Bytes twoItems = test::ApeItems({{"Title", "one"}, {"Artist", "two"}});
    {
        // A huge item count: the walk ends where the items end.
        ApeTagLayout layout;
        layout.overrideCount = true;
        layout.count = 0x7FFFFFFF;
        Read r(Concat({Audio(300), ApeTagAround(twoItems, 2, layout)}));
        EXPECT_EQ(r.ape.Title, "one");
        EXPECT_EQ(r.ape.Artist, "two");
    }
    {
        // A negative count reads no items.
        ApeTagLayout layout;
        layout.overrideCount = true;
        layout.count = -1;
        Read r(Concat({Audio(300), ApeTagAround(twoItems, 2, layout)}));
        EXPECT_TRUE(r.ape.Present);
        EXPECT_EQ(r.ape.Title, "");
    }
    for (int32_t size : {-100, 0, 16, 0x7FFFFFFF}) {
        // A tag size before the start of the file, behind the footer or inside it.
        ApeTagLayout layout;
        layout.overrideSize = true;
        layout.size = size;
        Read r(Concat({Audio(300), ApeTagAround(twoItems, 2, layout)}));
        EXPECT_TRUE(r.ok) << size;
        EXPECT_TRUE(r.ape.Present) << size;
        EXPECT_EQ(r.ape.TagSize, size);
        EXPECT_EQ(r.ape.Title, "") << size;
    }
    {
        // A negative value size ends the walk; what came before stays.
        Bytes items = test::ApeItems({{"Title", "kept"}});
        test::AppendLE32(items, 0xFFFFFFF0u);
        test::AppendLE32(items, 0);
        test::Append(items, "Artist");
        items.push_back(0);
        test::Append(items, "lost");
        Read r(Concat({Audio(300), ApeTagAround(items, 2)}));
        EXPECT_EQ(r.ape.Title, "kept");
        EXPECT_EQ(r.ape.Artist, "");
    }
    {
        // A value size past the footer: the value is cut where the items end.
        Bytes items;
        test::AppendLE32(items, 100000);
        test::AppendLE32(items, 0);
        test::Append(items, "Title");
        items.push_back(0);
        test::Append(items, "short");
        Read r(Concat({Audio(300), ApeTagAround(items, 1)}));
        EXPECT_EQ(r.ape.Title, "short");
    }
    {
        // A key without its zero byte before the footer gives nothing.
        Bytes items;
        test::AppendLE32(items, 3);
        test::AppendLE32(items, 0);
        test::Append(items, "Title");
        Read r(Concat({Audio(300), ApeTagAround(items, 1)}));
        EXPECT_TRUE(r.ape.Present);
        EXPECT_EQ(r.ape.Title, "");
    }
}

TEST(APEtag, TagWrittenByMutagen) {
    // A version 2000 tag with a header, in front of an ID3v1 tag.
    TAPEtag ape;
    const std::string path = test::DataPath("tagged.ape");
    ASSERT_TRUE(ape.Open(path));
    EXPECT_EQ(ape.Version, 2000);
    EXPECT_EQ(ape.Title, WideToSystem(u"Fixture Caf\u00E9"));
    EXPECT_EQ(ape.Artist, "APE Artist");
    EXPECT_EQ(ape.Album, "APE Album");
    EXPECT_EQ(ape.Track, 5);
    EXPECT_EQ(ape.Year, "2022");
    EXPECT_EQ(ape.Genre, "Ambient");
    EXPECT_EQ(ape.Comment, std::string(250, 'c'));
    EXPECT_EQ(ape.Copyright, "(c) Fixture");
}

}  // namespace
}  // namespace qel
