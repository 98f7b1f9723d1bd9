#include <gtest/gtest.h>

#include "player/FileInfoDispatch.h"
#include "readers/OggOpus.h"
#include "readers/TextForms.h"
#include "support/AnalysedBytes.h"
#include "support/ContainerBuilders.h"
#include "support/MemoryFiles.h"

namespace qel {
namespace {

using test::Bytes;
using test::OggOpusFile;
using test::OpusHeadPacket;
using test::VorbisComments;

using Read = test::AnalysedBytes<TOggOpus>;

const Bytes kStereoHead = OpusHeadPacket(2, 312, 44100);
const Bytes kComments = VorbisComments("libopus", {"TITLE=Song", "performer=Band", "ALBUM=Disc", "TRACKNUMBER=3/12",
                                                   "DATE=1999", "GENRE=Pop", "DESCRIPTION=Nice"});

// Through the dispatch, as ".opus" and as an ".ogg" file that is not Vorbis.
TEST(OggOpus, FillsBothRecordsFromHeadTagsAndLastPage) {
    // Two seconds after the pre-skip; the bit rate counts the pages behind the headers.
    const Bytes file = OggOpusFile(kStereoHead, kComments, 6000, 312 + 96000);
    const Bytes headers = test::Concat({test::OggPage(kStereoHead, 0), test::OggPage(Bytes(8 + kComments.size()), 0)});
    MemoryFiles files;
    files.Add("a.opus", file);
    files.Add("b.OGG", file);
    FileInfoDispatch dispatch(files);
    Tinfosound sound;
    sound.typeencoder = "Opus";
    sound.bitrate = IntText(RoundTiesEven((file.size() - headers.size()) / 2.0 / 125));
    sound.cnanmod = "Stereo";
    sound.cnanmodid = "2";
    sound.duration = "2";
    sound.filelen = IntText(static_cast<int64_t>(file.size()));
    sound.samplrate = "44100";
    Tinfotag tags;
    tags.Title2 = "Song";
    tags.Artist2 = "Band";
    tags.Album2 = "Disc";
    tags.Track = "3";
    tags.Year2 = "1999";
    tags.Genre2 = "Pop";
    tags.Comment2 = "Nice";
    tags.vendor = "libopus";
    for (const char* name : {"a.opus", "b.OGG"}) {
        ASSERT_TRUE(dispatch.ReadFileInfo(name)) << name;
        EXPECT_EQ(dispatch.TagType, "oggtag");
        EXPECT_EQ(dispatch.Sound, sound);
        EXPECT_EQ(dispatch.Tags, tags);
        EXPECT_EQ(dispatch.FileTitle(name), "Band - Song");
    }
}

TEST(OggOpus, HeaderRulesAndMissingParts) {
    // Only major version 0 and at least one channel are read.
    EXPECT_TRUE(Read(OggOpusFile(OpusHeadPacket(1, 0, 0, 15), kComments, 100, 4800)).open);
    EXPECT_FALSE(Read(OggOpusFile(OpusHeadPacket(1, 0, 0, 16), kComments, 100, 4800)).open);
    EXPECT_FALSE(Read(OggOpusFile(OpusHeadPacket(0, 0, 0), kComments, 100, 4800)).open);
    // No input rate: the decoding rate; no tags; 6 channels.
    Read open(OggOpusFile(OpusHeadPacket(6, 0, 0), {}, 100, 4800));
    EXPECT_EQ(open.sound.samplrate, "48000");
    EXPECT_EQ(open.sound.cnanmod, "Multi Channel");
    EXPECT_EQ(open.sound.duration, "0.1");
    EXPECT_EQ(open.tags.Title2, "");
    // A last page that finishes no packet, or a granule within the pre-skip: no time.
    for (int64_t granule : {int64_t{-1}, int64_t{312}}) {
        Read none(OggOpusFile(kStereoHead, kComments, 100, granule));
        EXPECT_TRUE(none.open);
        EXPECT_EQ(none.sound.duration, "0");
        EXPECT_EQ(none.sound.bitrate, "0");
    }
}

TEST(OggOpus, LastPageIsFoundBehindALongPage) {
    Read r(OggOpusFile(kStereoHead, kComments, 60000, 312 + 480000));
    EXPECT_EQ(r.sound.duration, "10");
}

}  // namespace
}  // namespace qel
