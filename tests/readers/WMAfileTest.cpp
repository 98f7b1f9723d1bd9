#include <gtest/gtest.h>

#include "player/FileInfoDispatch.h"
#include "readers/WMAfile.h"
#include "support/AnalysedBytes.h"
#include "support/ContainerBuilders.h"
#include "support/CountingFiles.h"
#include "support/MemoryFiles.h"

namespace qel {
namespace {

using test::AsfFile;
using test::AsfTextDescriptor;
using test::Bytes;

using Read = test::AnalysedBytes<TWMAfile>;

Bytes Stereo() { return test::AsfAudioStream(0x161, 2, 44100, 8000); }

// ffmpeg's file through the dispatch, as ".wma" and as ".asf"; the fields
// mutagen's reading does not cover are here.
TEST(WMAfile, FixtureFromFfmpegFillsBothRecords) {
    MemoryFiles files;
    const Bytes bytes = test::ReadFileBytes(test::DataPath("wmav2-ffmpeg.wma"));
    files.Add("a.wma", bytes);
    files.Add("a.asf", bytes);
    FileInfoDispatch dispatch(files);
    const Tinfosound sound{.bitratenom = "32", .typeencoder = "WMA Standard", .cnanmod = "Mono", .cnanmodid = "1",
                           .bitpersamp = "16", .filelen = "7612", .samplrate = "22050", .bitrate = "32",
                           .duration = "1.021"};  // less the preroll
    const Tinfotag tags{.Title2 = "WMA Title", .vendor = "Lavf59.27.100", .Artist2 = "WMA Artist", .Tracktext2 = "6",
                        .Album2 = "WMA Album", .Year2 = "2018", .Comment2 = "made by ffmpeg", .Genre2 = "Blues",
                        .Composer2 = "WMA Composer", .Encoder2 = "WMA Ripper", .Copyright2 = "(c) WMA",
                        .Link2 = "http://fixture.invalid/", .Language2 = "en-us", .Track = "6"};
    for (const char* name : {"a.wma", "a.asf"}) {
        ASSERT_TRUE(dispatch.ReadFileInfo(name)) << name;
        EXPECT_EQ(dispatch.TagType, "wmatag");
        EXPECT_EQ(dispatch.Sound, sound);
        EXPECT_EQ(dispatch.Tags, tags);
        EXPECT_EQ(dispatch.FileTitle(name), "WMA Artist - WMA Title");
    }
    // mutagen grew this header and left the file size of its file properties as it was.
    files.Add("b.wma", test::ReadFileBytes(test::DataPath("wmav1-mutagen.wma")));
    ASSERT_TRUE(dispatch.ReadFileInfo("b.wma"));
    EXPECT_EQ(dispatch.Sound.filelen, "9727");
    EXPECT_EQ(dispatch.Sound.typeencoder, "WMA 1");
}

TEST(WMAfile, DescriptorNamesTypesAndPrecedence) {
    // Names in any case; numbers as decimal; the content description's texts
    // from descriptors only where it has none; the last of a name wins.
    Read r(AsfFile({Stereo(), test::AsfContentDescription(u"Song \u00e9", u"", u"", u""),
                    test::AsfExtendedContent({AsfTextDescriptor(u"title", u"Other"), AsfTextDescriptor(u"AUTHOR", u"Band"),
                                              test::AsfDescriptor(u"WM/TrackNumber", asf::kDword, {7, 0, 0, 0}),
                                              AsfTextDescriptor(u"wm/genre", u"Pop"),
                                              test::AsfDescriptor(u"WM/Genre", asf::kByteArray, {1, 2})})}));
    ASSERT_TRUE(r.open);
    EXPECT_EQ(r.tags.Title2, "Song \xE9");
    EXPECT_EQ(r.tags.Artist2, "Band");
    EXPECT_EQ(r.tags.Tracktext2, "7");
    EXPECT_EQ(r.tags.Genre2, "");
}

TEST(WMAfile, SizesAndCountsAreDistrusted) {
    // No audio stream, or one only behind what the walk may look at: an
    // object too small, a header that ends before it, more objects than the
    // bound.
    EXPECT_FALSE(Read(AsfFile({test::AsfAudioStream(0x161, 0, 44100, 8000)})).open);
    EXPECT_FALSE(Read(AsfFile({test::AsfObject(asf::kFileProperties, {}, 8), Stereo()})).open);
    Bytes shortHeader = AsfFile({Stereo()});
    shortHeader[16] = asf::kHeaderObjectSize;
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
    memory.Add("big.wma", AsfFile({Stereo()}, 1 << 20));
    test::CountingFiles counting(memory);
    TWMAfile wma(counting);
    ASSERT_TRUE(wma.Open("big.wma"));
    EXPECT_LT(counting.bytes, 1000);
}

}  // namespace
}  // namespace qel
