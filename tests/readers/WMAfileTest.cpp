#include <gtest/gtest.h>

#include "player/FileInfoDispatch.h"
#include "readers/TextForms.h"
#include "readers/WMAfile.h"
#include "support/AnalysedBytes.h"
#include "support/ContainerBuilders.h"
#include "support/CountingFiles.h"
#include "support/MemoryFiles.h"

namespace qel {
namespace {

using test::AsfAudioStream;
using test::AsfFile;
using test::AsfTextDescriptor;
using test::Bytes;

using Read = test::AnalysedBytes<TWMAfile>;

// 3.5 s heard after a 1.5 s preroll, 64 kbit/s stereo at 44100 Hz.
Bytes Properties() { return test::AsfFileProperties(50000000, 1500, 65000); }
Bytes Stereo() { return AsfAudioStream(0x161, 2, 44100, 8000, 16); }

TEST(WMAfile, FillsBothRecordsFromTheHeaderObjects) {
    const Bytes file = AsfFile({Properties(), Stereo(),
                    test::AsfContentDescription(u"Song", u"Band \u00e9", u"(c) Label", u"Nice"),
                    test::AsfExtendedContent({AsfTextDescriptor(u"WM/AlbumTitle", u"Disc"),
                                              AsfTextDescriptor(u"WM/Year", u"1999"),
                                              AsfTextDescriptor(u"WM/TrackNumber", u"3/12"),
                                              AsfTextDescriptor(u"WM/Genre", u"Pop"),
                                              AsfTextDescriptor(u"WM/Composer", u"Writer"),
                                              AsfTextDescriptor(u"WM/EncodedBy", u"Ripper"),
                                              AsfTextDescriptor(u"WM/EncodingSettings", u"Lavf59"),
                                              AsfTextDescriptor(u"WM/Language", u"en-us"),
                                              AsfTextDescriptor(u"WM/AuthorURL", u"http://band.invalid/")})});
    Read r(file, "a.wma");
    ASSERT_TRUE(r.open);
    EXPECT_EQ(r.reader.TypeName, "wma");
    Tinfosound sound;
    sound.typeencoder = "WMA Standard";
    sound.bitrate = "64";
    sound.bitratenom = "65";
    sound.cnanmod = "Stereo";
    sound.cnanmodid = "2";
    sound.bitpersamp = "16";
    sound.duration = "3.5";
    sound.filelen = IntText(static_cast<int64_t>(file.size()));
    sound.samplrate = "44100";
    EXPECT_EQ(r.sound, sound);
    Tinfotag tags;
    tags.Title2 = "Song";
    tags.Artist2 = "Band \xE9";
    tags.Copyright2 = "(c) Label";
    tags.Comment2 = "Nice";
    tags.Album2 = "Disc";
    tags.Year2 = "1999";
    tags.Track = "3";
    tags.Tracktext2 = "3/12";
    tags.Genre2 = "Pop";
    tags.Composer2 = "Writer";
    tags.Encoder2 = "Ripper";
    tags.vendor = "Lavf59";
    tags.Language2 = "en-us";
    tags.Link2 = "http://band.invalid/";
    EXPECT_EQ(r.tags, tags);
    EXPECT_EQ(r.ArtistTitle(), "Band \xE9 - Song");
}

TEST(WMAfile, DescriptorNamesTypesAndPrecedence) {
    // Names in any case; numbers as decimal; the content description's texts
    // from descriptors only where it has none; the last of a name wins; no
    // file properties: no time.
    Bytes track;
    test::AppendLE32(track, 7);
    Read r(AsfFile({Stereo(), test::AsfContentDescription(u"Song", u"", u"", u""),
                                test::AsfExtendedContent({AsfTextDescriptor(u"title", u"Other"),
                                                          AsfTextDescriptor(u"AUTHOR", u"Band"),
                                                          test::AsfDescriptor(u"WM/TrackNumber", asf::kDword, track),
                                                          AsfTextDescriptor(u"WM/Genre", u"Pop"),
                                                          test::AsfDescriptor(u"WM/Genre", asf::kByteArray, {1, 2}),
                                                          AsfTextDescriptor(u"WM/Unknown", u"x")})}));
    ASSERT_TRUE(r.open);
    EXPECT_EQ(r.tags.Title2, "Song");
    EXPECT_EQ(r.tags.Artist2, "Band");
    EXPECT_EQ(r.tags.Tracktext2, "7");
    EXPECT_EQ(r.tags.Genre2, "");
    EXPECT_EQ(r.sound.duration, "0");
}

TEST(WMAfile, SizesAndCountsAreDistrusted) {
    // No audio stream, or one only behind what the walk may look at: an
    // object too small, a header that ends before it, more objects than the
    // bound.
    EXPECT_FALSE(Read(AsfFile({AsfAudioStream(0x161, 0, 44100, 8000, 16)})).open);
    EXPECT_FALSE(Read(AsfFile({test::AsfObject(asf::kFileProperties, {}, 8), Stereo()})).open);
    Bytes shortHeader = AsfFile({Properties(), Stereo()});
    shortHeader[16] = static_cast<uint8_t>(asf::kHeaderObjectSize + Properties().size());
    EXPECT_FALSE(Read(shortHeader).open);
    std::vector<Bytes> many(TWMAfile::kMaxObjects, test::AsfObject(asf::Guid{}, {}));
    many.push_back(Stereo());
    EXPECT_FALSE(Read(AsfFile(many)).open);
    many.erase(many.begin());
    EXPECT_TRUE(Read(AsfFile(many)).open);

    // A value running past its object's end is cut there, a count above the
    // descriptors held ends with the object, a header size past the end of
    // the file is cut there.
    Bytes genre = test::AsfDescriptor(u"WM/Genre", asf::kUnicode, {'P', 0, 'o', 0, 'p', 0});
    genre[genre.size() - 8] = 0xFF;  // the value's length
    Bytes descriptors = test::AsfExtendedContent({genre});
    descriptors[asf::kObjectHeaderSize] = 0xFF;  // the count
    Bytes file = AsfFile({descriptors, Stereo()});
    file[20] = 0xFF;  // the header's size, beyond 4 GiB
    Read r(file);
    EXPECT_TRUE(r.open);
    EXPECT_EQ(r.tags.Genre2, "Pop");

    // The data object behind the header is never read.
    MemoryFiles memory;
    memory.Add("big.wma", AsfFile({Properties(), Stereo()}, 1 << 20));
    test::CountingFiles counting(memory);
    TWMAfile wma(counting);
    ASSERT_TRUE(wma.Open("big.wma"));
    EXPECT_LT(counting.bytes, 1000);
}

TEST(WMAfile, DispatchRowsForWmaAndAsf) {
    MemoryFiles files;
    const Bytes bytes = AsfFile({Properties(), Stereo(), test::AsfContentDescription(u"Song", u"Band", u"", u"")});
    files.Add("a.WMA", bytes);
    files.Add("b.asf", bytes);
    FileInfoDispatch dispatch(files);
    for (const char* name : {"a.WMA", "b.asf"}) {
        EXPECT_TRUE(dispatch.ReadFileInfo(name)) << name;
        EXPECT_EQ(dispatch.TagType, "wmatag");
        EXPECT_EQ(dispatch.Sound.samplrate, "44100");
        EXPECT_EQ(dispatch.FileTitle(name), "Band - Song");
    }
}

}  // namespace
}  // namespace qel
