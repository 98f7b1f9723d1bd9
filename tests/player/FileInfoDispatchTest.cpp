#include <algorithm>
#include <cctype>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/CodePage.h"
#include "platform/RequestFiles.h"
#include "player/FileInfoDispatch.h"
#include "readers/TextForms.h"
#include "support/ContainerBuilders.h"
#include "support/CountingFiles.h"
#include "support/ID3Builders.h"
#include "support/MemoryFiles.h"
#include "support/MpegStreams.h"
#include "support/TestFiles.h"
#include <gtest/gtest.h>

namespace qel {
namespace {

using test::Bytes;

// An MPEG stream between an ID3v2 tag (title, artist, language) and an ID3v1 tag.
Bytes TaggedMp3() {
    Bytes out = test::ID3v2Builder(3)
                    .Frame("TIT2", test::Latin1Text("Song"))
                    .Frame("TPE1", test::Latin1Text("Band"))
                    .Frame("TLAN", test::Latin1Text("eng"))
                    .Build();
    Bytes frames = test::Frames({}, 417, 20);
    out.insert(out.end(), frames.begin(), frames.end());
    test::ID3v1Fields v1;
    v1.title = "Old";
    Bytes tag = test::ID3v1Tag(v1);
    out.insert(out.end(), tag.begin(), tag.end());
    return out;
}

// One second of 16-bit stereo at 44100 Hz.
Bytes Wav() {
    Bytes out;
    test::Append(out, "RIFF");
    test::AppendLE32(out, 36 + 176400);
    test::Append(out, "WAVEfmt ");
    test::AppendLE32(out, 16);
    test::AppendLE16(out, 1);
    test::AppendLE16(out, 2);
    test::AppendLE32(out, 44100);
    test::AppendLE32(out, 176400);
    test::AppendLE16(out, 4);
    test::AppendLE16(out, 16);
    test::Append(out, "data");
    test::AppendLE32(out, 176400);
    test::AppendZeros(out, 176400);
    return out;
}

class MpegWavDispatch : public ::testing::Test {
protected:
    MemoryFiles files;
    FileInfoDispatch dispatch{files};
};

TEST_F(MpegWavDispatch, MpegFileWithBothTagsWhateverTheExtensionCase) {
    files.Add("dir.x/Song.MP3", TaggedMp3());
    ASSERT_TRUE(dispatch.ReadFileInfo("dir.x/Song.MP3"));
    EXPECT_EQ(dispatch.TagType, "mp3tag");
    EXPECT_EQ(dispatch.Sound.layer, "Layer III");
    EXPECT_EQ(dispatch.Tags.Title1, "Old");
    EXPECT_EQ(dispatch.Tags.Title2, "Song");
    EXPECT_EQ(dispatch.Tags.Language2, "eng");
    EXPECT_EQ(dispatch.FileTitle("dir.x/Song.MP3"), "Song-Band");
}

TEST_F(MpegWavDispatch, WavStreamUnderMp3WavOrWmaIsTheWavAnalysers) {
    for (const char* name : {"a.mp3", "a.wav", "a.wma"}) {
        files.Add(name, Wav());
        ASSERT_TRUE(dispatch.ReadFileInfo(name)) << name;
        EXPECT_EQ(dispatch.TagType, std::string(name) == "a.wma" ? "wmatag" : "wavtag");
        EXPECT_EQ(dispatch.Sound.samplrate, "44100");
        EXPECT_EQ(dispatch.Sound.duration, "1");
        EXPECT_EQ(dispatch.Tags, Tinfotag{});
        EXPECT_EQ(dispatch.FileTitle(name), " - ");
    }
    // An MPEG stream under .wma is not looked at as such.
    files.Add("b.wma", TaggedMp3());
    EXPECT_FALSE(dispatch.ReadFileInfo("b.wma"));
    EXPECT_EQ(dispatch.TagType, "notag");
}

TEST_F(MpegWavDispatch, Mp2IsReadButGetsNoTitle) {
    files.Add("a.mp2", TaggedMp3());
    ASSERT_TRUE(dispatch.ReadFileInfo("a.mp2"));
    EXPECT_EQ(dispatch.TagType, "mp3tag");
    EXPECT_EQ(dispatch.FileTitle("a.mp2"), "");
}

TEST_F(MpegWavDispatch, UnknownMissingOrExtensionlessFilesLeaveEverythingEmpty) {
    files.Add("a.mp3", TaggedMp3());
    files.Add("a.mid", TaggedMp3());
    files.Add("mp3", TaggedMp3());
    files.Add("dir.mp3/file", TaggedMp3());
    for (const char* name : {"a.mid", "mp3", "dir.mp3/file", "missing.mp3"}) {
        ASSERT_TRUE(dispatch.ReadFileInfo("a.mp3"));
        ASSERT_EQ(dispatch.Tags.Language2, "eng");
        EXPECT_FALSE(dispatch.ReadFileInfo(name)) << name;
        EXPECT_EQ(dispatch.TagType, "notag");
        EXPECT_EQ(dispatch.Sound, Tinfosound{});
        EXPECT_EQ(dispatch.Tags, Tinfotag{});
        EXPECT_EQ(dispatch.FileTitle(name), "");
    }
    // Neither an empty file nor random bytes pass.
    files.Add("empty.mp3", {});
    files.Add("noise.wav", Bytes(5000, 0xFF));
    EXPECT_FALSE(dispatch.ReadFileInfo("empty.mp3"));
    EXPECT_FALSE(dispatch.ReadFileInfo("noise.wav"));
}

TEST(MpegWavDispatchFiles, EachRequestOpensTheFileOncePerSharingRule) {
    test::ScratchFile mp3("dispatch.mp3", TaggedMp3());
    test::ScratchFile wav("dispatch.wav", Wav());
    test::ScratchFile m4a("dispatch.m4a", test::ReadFileBytes(test::DataPath("container.m4a")));
    // A comment packet over pages, Monkey's Audio with its APE tag, Musepack 8.
    test::ScratchFile ogg("dispatch.ogg", test::ReadFileBytes(test::DataPath("picture-first.ogg")));
    test::ScratchFile ape("dispatch.ape", test::ReadFileBytes(test::DataPath("monkey-399.ape")));
    test::ScratchFile mpc("dispatch.mp+", test::ReadFileBytes(test::DataPath("sv8-radio.mpc")));
    test::CountingFiles files;
    FileInfoDispatch dispatch(files);
    // The WAV file is read by both analysers of its row, three times each.
    // The AAC analyser opens denying writers before its ID3 readers open
    // allowing them, so that one handle serves them all.
    const std::pair<const test::ScratchFile*, int> opens[] = {{&mp3, 1}, {&wav, 1}, {&m4a, 1},
                                                              {&ogg, 1}, {&ape, 1}, {&mpc, 1}};
    for (const auto& [file, expected] : opens) {
        files.opens = 0;
        files.bytes = 0;
        ASSERT_TRUE(dispatch.ReadFileInfo(file->path()));
        EXPECT_EQ(files.opens, expected) << file->path();
        EXPECT_LE(files.bytes, static_cast<int64_t>(test::ReadFileBytes(file->path()).size())) << file->path();
        files.opens = 0;
        EXPECT_FALSE(dispatch.FileTitle(file->path()).empty());
        EXPECT_EQ(files.opens, expected) << file->path();
    }
}

// An MP4 request reads box headers and the few boxes it shows, not the
// media data or pictures: here 4 blocks at most of a 600 KB file.
TEST(MpegWavDispatchFiles, Mp4RequestsReadOnlyTheBoxesTheyNeed) {
    test::Mp4Shape shape;
    shape.items = {test::Mp4Item("covr", 13, Bytes(300000, 0xD8)), test::Mp4TextItem("\xA9" "nam", "Song")};
    shape.mediaBytes = 300000;
    MemoryFiles memory;
    memory.Add("big.m4a", test::Mp4File(shape));
    test::CountingFiles files(memory);
    FileInfoDispatch dispatch(files);
    ASSERT_TRUE(dispatch.ReadFileInfo("big.m4a"));
    EXPECT_EQ(dispatch.Tags.Title2, "Song");
    EXPECT_EQ(files.opens, 1);  // denying writers, which serves the opens allowing them
    EXPECT_LE(files.bytes, 4 * RequestFiles::kBlockSize);
}

// The channel count the sound record tells: its channel text, a mode or a
// count (AAC and MP4). The mode numbers differ between formats.
int ChannelCount(const Tinfosound& sound) {
    if (sound.cnanmod == "Mono") return 1;
    for (const char* two : {"Stereo", "Joint Stereo", "Dual Channel"})
        if (sound.cnanmod == two) return 2;
    return TrackFromText(sound.cnanmod);
}

// What mutagen reads from the fixtures (mutagen-reading.tsv, written by
// make-fixtures.sh): the title, artist, album, year, track, duration (within
// 1%), sample rate and channel count of every request agree with it. Tags
// are compared in the fields the format fills: Vorbis and Opus comments,
// ID3v2, ASF and MP4 items in the "2" fields, APE tags in the "a" fields, the
// track text where the tag keeps it.
TEST(FixturesAgainstMutagen, TitleArtistAlbumYearTrackDurationRateAndChannelsAgree) {
    ASSERT_TRUE(SelectCodePage(1252));
    std::ifstream tsv(test::DataPath("mutagen-reading.tsv"));
    std::string line;
    ASSERT_TRUE(std::getline(tsv, line));  // the column names
    FileInfoDispatch dispatch;
    int files = 0;
    while (std::getline(tsv, line)) {
        std::vector<std::string> column;
        for (size_t from = 0, tab = 0; tab != std::string::npos; from = tab + 1) {
            tab = line.find('\t', from);
            column.push_back(line.substr(from, tab == std::string::npos ? tab : tab - from));
        }
        ASSERT_EQ(column.size(), 9u) << line;
        const std::string& file = column[0];
        SCOPED_TRACE(file);
        // UTF-8 frames of a version 2.3 tag stay unread, though mutagen reads
        // them; so do the tags of WAV files.
        const bool unread = file == "id3v23-utf8.mp3" || LowerExtension(file) == ".wav";
        auto agreed = [&](const std::string& text) { return unread ? std::string() : text; };
        ASSERT_TRUE(dispatch.ReadFileInfo(test::DataPath(file)));
        const Tinfotag& t = dispatch.Tags;
        // Musepack and Monkey's Audio carry APE tags, which fill the "a" fields.
        const bool ape = dispatch.TagType == "mpeg+tag" || dispatch.TagType == "monkeytag";
        EXPECT_EQ(SystemToUtf8(ape ? t.Titlea : t.Title2), agreed(column[1]));
        EXPECT_EQ(SystemToUtf8(ape ? t.Artista : t.Artist2), agreed(column[2]));
        EXPECT_EQ(SystemToUtf8(ape ? t.Albuma : t.Album2), agreed(column[3]));
        const bool ogg = dispatch.TagType == "oggtag";  // the whole date, no track text
        EXPECT_EQ(ape ? t.Yeara : t.Year2, agreed(ogg ? column[4] : column[4].substr(0, 4)));
        if (!ape && !ogg) {
            EXPECT_EQ(t.Tracktext2, agreed(column[5]));
        }
        // Without a track number a format leaves the field empty or says 0.
        const std::string& track = ape ? t.Tracka : t.Track;
        if (column[5].empty()) {
            EXPECT_TRUE(track.empty() || track == "0") << track;
        } else {
            EXPECT_EQ(track, IntText(unread ? 0 : TrackFromText(column[5])));
        }
        std::string duration = dispatch.Sound.duration;
        std::replace(duration.begin(), duration.end(), ',', '.');  // the locale's separator
        const double expected = std::stod(column[6]);
        EXPECT_NEAR(std::stod(duration), expected, expected * 0.01);
        if (!column[7].empty()) {  // mutagen gives no rate for Opus
            EXPECT_EQ(dispatch.Sound.samplrate, column[7]);
        }
        // ffmpeg puts 2 into the sample entry of mono AAC in MP4, and mutagen
        // reports it; the decoder configuration says 1.
        if (file != "container.m4a") {
            EXPECT_EQ(IntText(ChannelCount(dispatch.Sound)), column[8]);
        }
        ++files;
    }
    EXPECT_EQ(files, 28);
}

}  // namespace
}  // namespace qel
