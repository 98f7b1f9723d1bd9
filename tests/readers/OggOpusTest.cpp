#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>

#include "player/FileInfoDispatch.h"
#include "readers/OggOpus.h"
#include "readers/TextForms.h"
#include "support/AnalysedBytes.h"
#include "support/ContainerBuilders.h"
#include "support/MemoryFiles.h"

namespace qel {
namespace {

using test::Bytes;
using test::Concat;
using test::OggPage;

using Read = test::AnalysedBytes<TOggOpus>;

// opusenc's file: its first page holds one segment, so "OpusHead" begins at
// byte 28; the comment packet fills the second page; the pre-skip is 312.
const Bytes kFixture = test::ReadFileBytes(test::DataPath("opusenc-sine.opus"));
constexpr size_t kVersion = 36, kChannels = 37, kInputRate = 40;

// Through the dispatch, as ".opus" and as an ".ogg" file that is not Vorbis.
TEST(OggOpus, FixtureFromOpusencFillsBothRecords) {
    MemoryFiles files;
    files.Add("a.opus", kFixture);
    files.Add("b.OGG", kFixture);
    FileInfoDispatch dispatch(files);
    // The bit rate counts the pages from the third on.
    const std::string_view marker = "OggS";
    auto third = kFixture.begin();
    for (int page = 0; page < 3; ++page)
        third = std::search(third + (page > 0), kFixture.end(), marker.begin(), marker.end());
    const Tinfosound sound{.typeencoder = "Opus", .cnanmod = "Stereo", .cnanmodid = "2",
                           .filelen = IntText(static_cast<int64_t>(kFixture.size())), .samplrate = "44100",
                           .bitrate = IntText(RoundTiesEven((kFixture.end() - third) / 0.5 / 125)), .duration = "0.5"};
    const Tinfotag tags{.Title2 = "Opus Title", .vendor = "libopus 1.3.1, libopusenc 0.2.1", .Artist2 = "Opus Artist",
                        .Album2 = "Opus Album", .Year2 = "2017", .Comment2 = "made by opusenc", .Genre2 = "Jazz",
                        .Track = "4"};
    for (const char* name : {"a.opus", "b.OGG"}) {
        ASSERT_TRUE(dispatch.ReadFileInfo(name)) << name;
        EXPECT_EQ(dispatch.TagType, "oggtag");
        EXPECT_EQ(dispatch.Sound, sound);
        EXPECT_EQ(dispatch.Tags, tags);
        EXPECT_EQ(dispatch.FileTitle(name), "Opus Artist - Opus Title");
    }
}

TEST(OggOpus, HeaderRulesAndTheLastPage) {
    // Only major version 0 and at least one channel are read; without an
    // input rate the rate is the decoding rate.
    auto changed = [](size_t at, uint8_t value) {
        Bytes bytes = kFixture;
        std::fill_n(bytes.begin() + static_cast<ptrdiff_t>(at), at == kInputRate ? 4 : 1, value);
        return Read(bytes);
    };
    EXPECT_TRUE(changed(kVersion, 15).open);
    EXPECT_FALSE(changed(kVersion, 16).open);
    EXPECT_FALSE(changed(kChannels, 0).open);
    EXPECT_EQ(changed(kChannels, 6).sound.cnanmod, "Multi Channel");
    EXPECT_EQ(changed(kInputRate, 0).sound.samplrate, "48000");
    // A last page that finishes no packet is passed over; one behind the
    // longest page is still found.
    EXPECT_EQ(Read(Concat({kFixture, OggPage(Bytes(100), -1, 9)})).sound.duration, "0.5");
    EXPECT_EQ(Read(Concat({kFixture, OggPage(Bytes(60000), 312 + 480000, 9)})).sound.duration, "10");
    EXPECT_EQ(Read(Concat({kFixture, OggPage(Bytes(100), 300, 9)})).sound.duration, "0");
}

}  // namespace
}  // namespace qel
