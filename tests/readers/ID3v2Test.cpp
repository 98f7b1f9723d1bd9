#include <gtest/gtest.h>

#include <random>

#include "platform/CodePage.h"
#include "readers/ID3v2.h"
#include "support/CodePageExpect.h"
#include "support/ID3Builders.h"
#include "support/MemoryFiles.h"

namespace qel {
namespace {

using namespace std::string_literals;
using test::Bytes;
using test::ID3v2Builder;
using test::Latin1Text;
using test::Utf16Text;

// Reads the tag followed by some audio bytes.
TID3v2 Read(const Bytes& tag, size_t audio = 200) {
    static MemoryFiles files;
    Bytes data = tag;
    data.insert(data.end(), audio, 0xFF);
    files.Add("t.mp3", data);
    TID3v2 reader(files);
    EXPECT_TRUE(reader.ReadTag("t.mp3"));
    return reader;
}

TEST(ID3v2, Version3FramesFillEveryField) {
    const Bytes tag = ID3v2Builder(3)
                          .Frame("TIT2", Latin1Text("Song"))
                          .Frame("TPE1", Latin1Text(" Artist "))
                          .Frame("TALB", Latin1Text("Album"))
                          .Frame("TRCK", Latin1Text("3/12"))
                          .Frame("TYER", Latin1Text("1999"))
                          .Frame("TCON", Latin1Text("(13)Pop"))
                          .Frame("COMM", Latin1Text(std::string("eng") + "abc" + '\0' + "Nice"))
                          .Frame("TCOM", Latin1Text("Composer"))
                          .Frame("TENC", Latin1Text("Encoder"))
                          .Frame("TCOP", Latin1Text("Copyright"))
                          .Frame("TLAN", Latin1Text("eng"))
                          .Frame("WXXX", Latin1Text(std::string("home") + '\0' + "http://x.y/"))
                          .Frame("TDRC", Latin1Text("2004-05-06"))
                          .Padding(30)
                          .Build();
    const TID3v2 r = Read(tag);
    EXPECT_TRUE(r.Present);
    EXPECT_EQ(r.Version, 3);
    EXPECT_EQ(r.TagSize, static_cast<int32_t>(tag.size()));
    EXPECT_EQ(r.Title, "Song");
    EXPECT_EQ(r.Artist, "Artist");
    EXPECT_EQ(r.Album, "Album");
    EXPECT_EQ(r.Track, 3);
    EXPECT_EQ(r.TrackText, "3/12");
    EXPECT_EQ(r.Year, "1999");
    EXPECT_EQ(r.Genre, "Pop");
    EXPECT_EQ(r.Comment, "Nice");
    EXPECT_EQ(r.Composer, "Composer");
    EXPECT_EQ(r.Encoder, "Encoder");
    EXPECT_EQ(r.Copyright, "Copyright");
    EXPECT_EQ(r.Language, "eng");
    EXPECT_EQ(r.Link, "http://x.y/");
}

TEST(ID3v2, FallbackFramesAndDerivedTexts) {
    auto r = Read(ID3v2Builder(3)
                      .Frame("TIT1", Latin1Text("Group"))
                      .Frame("TOPE", Latin1Text("Original"))
                      .Frame("TOAL", Latin1Text("Old album"))
                      .Frame("TDRC", Latin1Text("2004-05-06"))
                      .Frame("TCON", Latin1Text("(13)"))
                      .Frame("TRCK", Latin1Text("x"))
                      .Build());
    EXPECT_EQ(r.Title, "Group");
    EXPECT_EQ(r.Artist, "Original");
    EXPECT_EQ(r.Album, "Old album");
    EXPECT_EQ(r.Year, "2004");
    EXPECT_EQ(r.Genre, "");
    EXPECT_EQ(r.Track, 0);
    EXPECT_EQ(r.TrackText, "x");

    // A later frame replaces an earlier one; track numbers are kept in 16 bits.
    r = Read(ID3v2Builder(3)
                 .Frame("TCON", Latin1Text("Jazz"))
                 .Frame("TCON", Latin1Text("Rock"))
                 .Frame("TRCK", Latin1Text("70000"))
                 .Build());
    EXPECT_EQ(r.Genre, "Rock");
    EXPECT_EQ(r.Track, 70000 % 65536);
}

TEST(ID3v2, EncodingsOneToThree) {
    // UTF-16 with and without the byte-order mark; FF-led units dropped.
    auto r = Read(ID3v2Builder(3)
                      .Frame("TIT2", Utf16Text(u"Song", true))
                      .Frame("TPE1", Utf16Text(u"Band", false))
                      .Frame("TALB", Utf16Text(u"a\u00FFb\u01FFc", true))
                      .Frame("COMM", "\1eng" + Utf16Text(u"desc", true).substr(1) + Utf16Text(u"Fine", true).substr(1))
                      .Build());
    EXPECT_EQ(r.Title, "Song");
    EXPECT_EQ(r.Artist, "Band");
    EXPECT_EQ(r.Album, "abc");
    EXPECT_EQ(r.Comment, "Fine");  // the description's last zero byte is not its end

    // Encodings 2 (UTF-16 big-endian) and 3 (UTF-8) count in version 4 tags
    // only; a version 3 tag uses the fallback frame or nothing. Characters
    // outside the code page become what the system's conversion gives, as in
    // encoding 1; malformed UTF-8 becomes '?'.
    ASSERT_TRUE(SelectCodePage(1252));
    const std::string utf8 = "\3 Caf\xC3\xA9 \xCE\xA9\xFF!\0second"s;
    const std::string utf16be = "\2\xFE\xFF\0B\0\xE9\x03\xA9\0\0"s;
    // Descriptions ending in a zero low byte (U+0100): only whole units end them.
    const std::string comment = "\2eng\0d\1\0\0\0\0N\0i\0c\0e"s;
    const std::string link = "\2\0s\1\0\0\0http://x.y/\0"s;
    for (uint8_t version : {3, 4}) {
        r = Read(ID3v2Builder(version)
                     .Frame("TIT2", utf8)
                     .Frame("TIT1", Latin1Text("Group"))
                     .Frame("TPE1", utf16be)
                     .Frame("COMM", comment)
                     .Frame("WXXX", link)
                     .Frame("TALB", "\3eng\0Caf\xC3\xA9"s)
                     .Build());
        SCOPED_TRACE(testing::Message() << "version " << int{version});
        EXPECT_EQ(r.Title, version == 4 ? "Caf\xE9 "s + test::kOmegaIn1252 + "?!" : "Group");
        EXPECT_EQ(r.Artist, version == 4 ? "B\xE9"s + test::kOmegaIn1252 : "");
        EXPECT_EQ(r.Comment, version == 4 ? "Nice" : "");
        EXPECT_EQ(r.Link, version == 4 ? "http://x.y/" : "");
        EXPECT_EQ(r.Album, version == 4 ? "eng" : "");  // a text ends at its first zero byte
    }
    EXPECT_EQ(DescribedText("\3engd\xC3\xA9sc\0Caf\xC3\xA9"s, true), "Caf\xE9");
    // A UTF-8 sequence cut by the end of the kept bytes is dropped.
    EXPECT_EQ(DecodeFrameText("\3ab\xE2\x82"), "ab");
}

TEST(ID3v2, LongSkippedAndTrailingFrames) {
    // 800-byte frame: its first 500 bytes count, the next frame is still found.
    auto r = Read(ID3v2Builder(3)
                      .Frame("TIT2", Latin1Text(std::string(799, 'a')))
                      .Frame("TPE1", Latin1Text("After"), 0x80)  // skipped by its flag
                      .Frame("TALB", Latin1Text("Album"), 0x40)  // other flags do not skip
                      .Padding(20)
                      .Raw(Bytes{'T', 'Y', 'E', 'R', 0, 0, 0, 2, 0, 0, 0, 'x'})  // behind padding
                      .Build());
    EXPECT_EQ(r.Title, std::string(499, 'a'));
    EXPECT_EQ(r.Artist, "");
    EXPECT_EQ(r.Album, "Album");
    EXPECT_EQ(r.Year, "");

    // A frame whose size runs past the end of the file ends the walk quietly;
    // so does one with the top bit of its size set.
    for (uint32_t size : {5000u, 0xFFFFFFF0u}) {
        Bytes frame{'T', 'A', 'L', 'B'};
        test::AppendBE32(frame, size);
        test::AppendZeros(frame, 2);
        test::Append(frame, std::string(1, '\0') + "cut");
        r = Read(ID3v2Builder(3).Frame("TIT2", Latin1Text("First")).Raw(frame).Build(), 0);
        EXPECT_EQ(r.Title, "First");
        EXPECT_EQ(r.Album, "");
    }
}

TEST(ID3v2, Version4SizesAreSynchsafeWithPlainFallback) {
    // 300 bytes stored synchsafe (00 00 02 2C).
    auto r = Read(ID3v2Builder(4)
                      .Frame("TIT2", Latin1Text(std::string(299, 'a')))
                      .Frame("TPE1", Latin1Text("Next"))
                      .Build());
    EXPECT_EQ(r.Title.size(), 299u);
    EXPECT_EQ(r.Artist, "Next");

    // 256 stored plain (00 00 01 00): synchsafe 128 lands inside the text, 256 on TPE1.
    r = Read(ID3v2Builder(4)
                 .Frame("TIT2", Latin1Text(std::string(255, 'b')), 0, true)
                 .Frame("TPE1", Latin1Text("Next"))
                 .Build());
    EXPECT_EQ(r.Title.size(), 255u);
    EXPECT_EQ(r.Artist, "Next");

    // 128 stored synchsafe (00 00 01 00) is 128, not 256.
    r = Read(ID3v2Builder(4)
                 .Frame("TIT2", Latin1Text(std::string(127, 'c')))
                 .Frame("TPE1", Latin1Text("Next"))
                 .Padding(200)
                 .Build());
    EXPECT_EQ(r.Title.size(), 127u);
    EXPECT_EQ(r.Artist, "Next");

    // Plain sizes in version 3 are not synchsafe.
    r = Read(ID3v2Builder(3).Frame("TIT2", Latin1Text(std::string(255, 'd'))).Frame("TPE1", Latin1Text("N")).Build());
    EXPECT_EQ(r.Artist, "N");
}

// Unsynchronisation as writers apply it: a zero behind every 0xFF that
// comes before a byte of 0xE0 or more, a zero byte or the end.
std::string Unsynchronised(const std::string& bytes) {
    std::string out;
    for (size_t i = 0; i < bytes.size(); ++i) {
        out += bytes[i];
        if (bytes[i] == '\xFF' && (i + 1 == bytes.size() || bytes[i + 1] == 0 || uint8_t(bytes[i + 1]) >= 0xE0))
            out += '\0';
    }
    return out;
}

TEST(ID3v2, ExtendedHeadersUnsynchronisationAndFrameFlags) {
    const Bytes ext3{0, 0, 0, 6, 0, 0, 0, 0, 0, 0};  // size 6 leaves itself out
    const Bytes ext4{0, 0, 0, 12, 1, 0x20, 0x7F, 0x7F, 0x7F, 0x7F, 0, 0};  // 12 counts itself
    EXPECT_EQ(Read(ID3v2Builder(3, 0x40).Raw(ext3).Frame("TIT2", Latin1Text("Three")).Build()).Title, "Three");
    EXPECT_EQ(Read(ID3v2Builder(4, 0x40).Raw(ext4).Frame("TIT2", Latin1Text("Four")).Build()).Title, "Four");
    // The flag without an extended header: the frames follow the header.
    EXPECT_EQ(Read(ID3v2Builder(3, 0x40).Frame("TIT2", Latin1Text("None")).Build()).Title, "None");

    // Version 3 unsynchronises the whole tag; frame sizes count the bytes without the zeros.
    const Bytes frames =
        ID3v2Builder(3).Frame("TIT2", Utf16Text(u"\u00FFSong", true)).Frame("TPE1", Latin1Text("Band\xFF")).Build();
    const std::string body = Unsynchronised(std::string(frames.begin() + 10, frames.end()));
    TID3v2 r = Read(ID3v2Builder(3, 0x80).Raw(Bytes(body.begin(), body.end())).Padding(4).Build());
    EXPECT_EQ(r.Title, "Song");  // U+00FF goes with the byte-order mark's rule
    EXPECT_EQ(r.Artist, "Band\xFF");

    // Version 4: each frame's content, by its own flag or the tag's, behind a
    // data-length indicator; compressed and encrypted frames are not read.
    const std::string indicator("\0\0\0\x09", 4);
    r = Read(ID3v2Builder(4)
                 .Frame("TIT2", indicator + Unsynchronised(Utf16Text(u"Title", true)), 0x03)
                 .Frame("TPE1", Unsynchronised(Utf16Text(u"Band", true)), 0x02)
                 .Frame("TALB", indicator + Latin1Text("Album"), 0x01)
                 .Frame("TCOM", indicator + Latin1Text("Zipped"), 0x09)
                 .Frame("TCOP", Latin1Text("Secret"), 0x04)
                 .Build());
    EXPECT_EQ(r.Title + "|" + r.Artist + "|" + r.Album + "|" + r.Composer + r.Copyright, "Title|Band|Album|");
    EXPECT_EQ(Read(ID3v2Builder(4, 0x80).Frame("TIT2", Unsynchronised(Utf16Text(u"All", true))).Build()).Title, "All");
}

TEST(ID3v2, Version2UsesThreeLetterFrames) {
    auto r = Read(ID3v2Builder(2)
                      .Frame("TT2", Latin1Text("Song"))
                      .Frame("TP1", Utf16Text(u"Band", true))
                      .Frame("COM", Latin1Text(std::string("eng") + '\0' + "Note"))
                      .Frame("TOR", Latin1Text("1987"))
                      .Frame("TIT2", Latin1Text("ignored"))
                      .Build());
    EXPECT_EQ(r.Version, 2);
    EXPECT_EQ(r.Title, "Song");
    EXPECT_EQ(r.Artist, "Band");
    EXPECT_EQ(r.Comment, "Note");
    EXPECT_EQ(r.Year, "1987");
}

TEST(ID3v2, HeaderSizesAndUnknownVersions) {
    const Bytes body = ID3v2Builder(3).Frame("TIT2", Latin1Text("Song")).Build();
    // Footer flag adds 10 bytes.
    Bytes footer = ID3v2Builder(4, 0x10).Frame("TIT2", Latin1Text("Song")).Build();
    test::Append(footer, "3DI");
    test::AppendZeros(footer, 7);
    EXPECT_EQ(Read(footer).TagSize, static_cast<int32_t>(footer.size()));

    // A size larger than the file: present, size 0, nothing read.
    auto r = Read(ID3v2Builder(3).Frame("TIT2", Latin1Text("Song")).Build(1000), 0);
    EXPECT_TRUE(r.Present);
    EXPECT_EQ(r.TagSize, 0);
    EXPECT_EQ(r.Title, "");

    // Version 5: sized but not read.
    Bytes v5 = body;
    v5[3] = 5;
    r = Read(v5);
    EXPECT_EQ(r.TagSize, static_cast<int32_t>(body.size()));
    EXPECT_EQ(r.Title, "");

    // Size bytes are taken whole: a top bit counts as 2^7 of its byte.
    Bytes wide = body;
    wide[9] = static_cast<uint8_t>(wide[9] | 0x80);
    EXPECT_EQ(Read(wide, 300).TagSize, static_cast<int32_t>(body.size()) + 128);
}

TEST(ID3v2, ShortMissingAndUntaggedFiles) {
    MemoryFiles files;
    TID3v2 reader(files);
    files.Add("short.mp3", Bytes{'I', 'D', '3', 3, 0, 0, 0, 0, 0});
    EXPECT_FALSE(reader.ReadTag("short.mp3"));
    EXPECT_FALSE(reader.ReadTag("missing.mp3"));
    files.Add("tagged.mp3", ID3v2Builder(3).Frame("TIT2", Latin1Text("Song")).Build());
    ASSERT_TRUE(reader.ReadTag("tagged.mp3"));
    EXPECT_EQ(reader.Title, "Song");
    files.Add("plain.mp3", Bytes(10, 'x'));
    ASSERT_TRUE(reader.ReadTag("plain.mp3"));
    EXPECT_FALSE(reader.Present);
    EXPECT_EQ(reader.Title, "");
    EXPECT_EQ(reader.TagSize, 0);
}


// A slot stores the kept bytes and only kSlotTail bytes of the zero fill;
// every decoder must read that exactly as the whole fill to kSlotSize.
TEST(ID3v2, SlotTailDecodesLikeTheWholeZeroFill) {
    std::mt19937 random(7);
    const size_t sizes[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 31, 32, 33, 495, 496, 497, 498, 499, 500};
    for (int round = 0; round < 400; ++round) {
        const size_t kept = sizes[round % std::size(sizes)];
        std::string bytes(kept, '\0');
        for (char& c : bytes) {
            // Mostly letters, with zero bytes and 0xFF among them.
            const unsigned pick = random() % 8;
            c = pick == 0 ? '\0' : pick == 1 ? '\xFF' : static_cast<char>('a' + random() % 26);
        }
        if (kept > 0) bytes[0] = static_cast<char>(random() % 4);  // encoding 0 to 3
        std::string whole = bytes;
        whole.resize(TID3v2::kSlotSize, '\0');
        std::string slot = bytes;
        slot.append(std::min(TID3v2::kSlotTail, TID3v2::kSlotSize - kept), '\0');
        SCOPED_TRACE(testing::Message() << "round " << round << ", kept " << kept);
        EXPECT_EQ(DecodeFrameText(slot), DecodeFrameText(whole));
        EXPECT_EQ(DescribedText(slot, true), DescribedText(whole, true));
        EXPECT_EQ(DescribedText(slot, false), DescribedText(whole, false));
    }
}

TEST(ID3v2, FixturesWrittenByLameAndMutagen) {
    TID3v2 cbr;  // version 3, UTF-16 frames without terminator
    ASSERT_TRUE(cbr.ReadTag(test::DataPath("cbr.mp3")));
    EXPECT_EQ(cbr.Version, 3);
    EXPECT_EQ(cbr.TagSize, 282);
    EXPECT_EQ(cbr.Title, "CBR Title");
    EXPECT_EQ(cbr.Artist, "CBR Artist");
    EXPECT_EQ(cbr.Album, "Fixture Album");
    EXPECT_EQ(cbr.Year, "2024");
    EXPECT_EQ(cbr.Comment, "cbr comment");
    EXPECT_EQ(cbr.TrackText, "3/12");
    EXPECT_EQ(cbr.Track, 3);
    EXPECT_EQ(cbr.Genre, "Rock");

    TID3v2 vbr;  // version 4, UTF-16, a comment frame of 326 bytes, a UTF-8 composer
    ASSERT_TRUE(vbr.ReadTag(test::DataPath("vbr.mp3")));
    EXPECT_EQ(vbr.Version, 4);
    EXPECT_EQ(vbr.TagSize, 591);
    EXPECT_EQ(vbr.Title, "VBR Title");
    EXPECT_EQ(vbr.Artist, "VBR Artist");
    EXPECT_EQ(vbr.Year, "2023");
    EXPECT_EQ(vbr.Track, 7);
    EXPECT_EQ(vbr.Genre, "Jazz");
    EXPECT_EQ(vbr.Comment, "long comment " + std::string(140, 'x'));
    EXPECT_EQ(vbr.Composer, "Composer in UTF-8");

    // Version 2.4 tags by mutagen in UTF-8 and UTF-16 big-endian, and UTF-8
    // frames in a version 2.3 tag, which stay unread.
    ASSERT_TRUE(SelectCodePage(1252));
    struct Case {
        const char* file;
        const char* title;
    };
    for (const Case& c : {Case{"id3v24-utf8.mp3", "UTF-8 Title \xE9"}, Case{"id3v24-utf16be.mp3", "UTF-16BE Title \xE9"},
                          Case{"id3v23-utf8.mp3", ""}}) {
        SCOPED_TRACE(c.file);
        TID3v2 tag;
        ASSERT_TRUE(tag.ReadTag(test::DataPath(c.file)));
        const bool read = *c.title != 0;
        EXPECT_EQ(tag.Title, c.title);
        EXPECT_EQ(tag.Artist, read ? std::string("Artist of ") + c.title : "");
        EXPECT_EQ(tag.Album, read ? "Album \xE0 la carte" : "");
        EXPECT_EQ(tag.TrackText, read ? "2/8" : "");
        EXPECT_EQ(tag.Year, read ? "2020" : "");
        EXPECT_EQ(tag.Genre, read ? "Pop" : "");
        EXPECT_EQ(tag.Composer, read ? test::kOmegaIn1252 + " Composer"s : "");
        EXPECT_EQ(tag.Comment, read ? "Comment \xE9" : "");
        EXPECT_EQ(tag.Link, read ? "http://fixture.invalid/" : "");
    }
}

}  // namespace
}  // namespace qel
