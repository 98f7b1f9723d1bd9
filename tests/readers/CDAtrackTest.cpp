#include <gtest/gtest.h>

#include "platform/CdPlayerDatabase.h"
#include "player/FileInfoDispatch.h"
#include "readers/CDAtrack.h"
#include "support/ContainerBuilders.h"
#include "support/MemoryFiles.h"
#include "support/MemoryIniFiles.h"
#include "support/TestFiles.h"

namespace qel {
namespace {

using test::Bytes;
using test::CdaTrack;

constexpr char kDatabase[] = "cdplayer.ini";

struct Read {
    MemoryFiles files;
    MemoryIniFiles ini;
    TCDAtrack cda;
    bool result = false;
    bool open = false;
    Read(const Bytes& data, const std::string& database, const std::string& databasePath = kDatabase)
        : cda(files, ini, databasePath) {
        files.Add("Track03.cda", data);
        if (!database.empty()) ini.texts[kDatabase] = database;
        result = cda.ReadInfo("Track03.cda");
        open = cda.Open("Track03.cda");
    }
};

TEST(CDAtrack, NamesComeFromTheDiscSectionOfTheDatabase) {
    const std::string database =
        "[2A]\r\n3=Wrong disc\r\n"
        "[2b]\r\nArtist=The Band\r\ntitle=The Disc\r\n1=First\r\n3=Third\r\n";
    Read r(CdaTrack(3, 0x2B, 0, 16155), database);
    ASSERT_TRUE(r.open);
    EXPECT_EQ(r.cda.TypeName, "cda");
    Tinfotag tags;
    tags.Title1 = "stale";
    r.cda.FillTagInfo(tags);
    Tinfotag expected;
    expected.Album2 = "The Disc";
    expected.Artist2 = "The Band";
    expected.Title2 = "Third";
    expected.Track = "3";
    EXPECT_EQ(tags, expected);
    EXPECT_EQ(r.cda.ArtistTitle("Track03.cda"), "The Band - Third");
}

TEST(CDAtrack, DiscSectionIsUpperCaseHexWithAtLeastTwoDigits) {
    EXPECT_EQ(DiscSection(5), "05");
    EXPECT_EQ(DiscSection(0x2B), "2B");
    EXPECT_EQ(DiscSection(0), "00");
    EXPECT_EQ(DiscSection(0xDEADBEEF), "DEADBEEF");
    Read r(CdaTrack(1, 5, 0, 75), "[05]\r\n1=Five\r\n");
    EXPECT_EQ(r.cda.TrackName, "Five");
}

TEST(CDAtrack, PositionAndDurationInSeconds) {
    Read r(CdaTrack(2, 1, 150, 16155), "");
    Tinfosound sound;
    sound.bitrate = "stale";
    r.cda.FillSoundInfo(sound);
    Tinfosound expected;
    expected.duration = "215.4";
    expected.position = "2";
    EXPECT_EQ(sound, expected);
    Read start(CdaTrack(1, 1, 0, 75), "");
    start.cda.FillSoundInfo(sound);
    EXPECT_EQ(sound.position, "0");
    // Frame counts are unsigned.
    Read big(CdaTrack(1, 1, 0xFFFFFFFFu, 0), "");
    EXPECT_DOUBLE_EQ(big.cda.Position, 4294967295.0 / 75);
}

TEST(CDAtrack, WithoutDatabaseEntryTheTrackIsStillDescribed) {
    for (const std::string& path : {std::string(kDatabase), std::string()}) {
        Read r(CdaTrack(3, 0x2B, 0, 16155), path.empty() ? "[2B]\r\n3=unused\r\n" : "", path);
        EXPECT_TRUE(r.open);
        EXPECT_EQ(r.cda.TrackName, "");
        EXPECT_EQ(r.cda.DiscArtist, "");
        EXPECT_EQ(r.cda.DiscTitle, "");
        EXPECT_EQ(r.cda.TrackNumber, 3);
        EXPECT_EQ(r.cda.ArtistTitle("Track03.cda"), " - ");
    }
}

TEST(CDAtrack, OtherFilesAreReadButNotOpened) {
    Bytes wrong = CdaTrack(3, 0x2B, 0, 16155);
    wrong[12] = '_';  // "CDDAfmt_"
    Read other(wrong, "[2B]\r\n3=Third\r\n");
    EXPECT_TRUE(other.result);
    EXPECT_FALSE(other.open);
    EXPECT_EQ(other.cda.TypeName, "");
    EXPECT_EQ(other.cda.TrackName, "");
    EXPECT_EQ(other.cda.TrackNumber, 0);

    // A short record reads as zeros behind its end.
    const Bytes whole = CdaTrack(3, 0x2B, 0, 16155);
    Read shortFile(Bytes(whole.begin(), whole.begin() + 24), "");
    EXPECT_TRUE(shortFile.open);
    EXPECT_EQ(shortFile.cda.TrackNumber, 3);
    EXPECT_EQ(shortFile.cda.Duration, 0);

    MemoryFiles files;
    MemoryIniFiles ini;
    TCDAtrack cda(files, ini, kDatabase);
    EXPECT_FALSE(cda.ReadInfo("missing.cda"));
    EXPECT_FALSE(cda.Open("missing.cda"));
}

TEST(CDAtrack, DispatchReadsTheDatabaseTheCallerSet) {
    const std::string previous = CdPlayerIniPath();
    test::ScratchFile database("cdplayer-test.ini");
    test::ScratchFile track("Track05.CDA", CdaTrack(5, 0x1F2E, 0, 750));
    test::WriteFileBytes(database.path(), Bytes{});
    ASSERT_TRUE(SystemIniFiles().WriteString(database.path(), "1F2E", "5", "Fifth"));
    ASSERT_TRUE(SystemIniFiles().WriteString(database.path(), "1F2E", "artist", "Someone"));
    SetCdPlayerIniPath(database.path());
    FileInfoDispatch dispatch;
    EXPECT_TRUE(dispatch.ReadFileInfo(track.path()));
    EXPECT_EQ(dispatch.TagType, "CDAtag");
    EXPECT_EQ(dispatch.Tags.Title2, "Fifth");
    EXPECT_EQ(dispatch.Sound.duration, "10");
    EXPECT_EQ(dispatch.FileTitle(track.path()), "Someone - Fifth");
    SetCdPlayerIniPath("");
    EXPECT_EQ(dispatch.FileTitle(track.path()), " - ");
    SetCdPlayerIniPath(previous);
}

}  // namespace
}  // namespace qel
