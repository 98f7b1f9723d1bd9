#include <gtest/gtest.h>

#include <tuple>

#include "player/FileInfoDispatch.h"
#include "support/ApeTagBytes.h"
#include "support/ID3Builders.h"
#include "support/MemoryFiles.h"

namespace qel {
namespace {

using test::Bytes;

Bytes WithApeTag(Bytes audio) {
    Bytes tag = test::ApeTag({{"Title", "Song"}, {"Artist", "Band"}});
    audio.insert(audio.end(), tag.begin(), tag.end());
    return audio;
}

TEST(ApeMpcMacAacRows, ApeTagFillsOnlyTheApeFieldsAndNoTitle) {
    MemoryFiles files;
    files.Add("a.APE", WithApeTag(Bytes(300, 1)));
    files.Add("plain.ape", Bytes(300, 1));
    FileInfoDispatch dispatch(files);
    ASSERT_TRUE(dispatch.ReadFileInfo("a.APE"));
    EXPECT_EQ(dispatch.TagType, "apetag");
    EXPECT_EQ(dispatch.Sound, Tinfosound{});
    EXPECT_EQ(dispatch.Tags.Titlea, "Song");
    EXPECT_EQ(dispatch.Tags.Artista, "Band");
    EXPECT_EQ(dispatch.Tags.Tracka, "0");
    EXPECT_EQ(dispatch.FileTitle("a.ape"), "");
    EXPECT_FALSE(dispatch.ReadFileInfo("plain.ape"));
    EXPECT_EQ(dispatch.TagType, "notag");
    EXPECT_EQ(dispatch.Tags, Tinfotag{});
}

Bytes WithID3v1(Bytes audio) {
    test::ID3v1Fields f;
    f.artist = "Band";
    f.title = "Song";
    Bytes tag = test::ID3v1Tag(f);
    audio.insert(audio.end(), tag.begin(), tag.end());
    return audio;
}

TEST(ApeMpcMacAacRows, MpcMacAndAacRows) {
    Bytes mpc;
    test::Append(mpc, "MP+");
    mpc.push_back(7);
    test::AppendLE32(mpc, 100);
    mpc.resize(1000, 0);

    Bytes mac;
    test::Append(mac, "MAC ");
    test::AppendLE16(mac, 3990);
    test::AppendLE16(mac, 3000);
    test::AppendLE16(mac, 0x20);  // no WAV header stored
    test::AppendLE16(mac, 1);
    test::AppendLE32(mac, 22050);
    mac.resize(1000, 0);

    Bytes adts = {0xFF, 0xF1, 0x50, 0x80, 0x2E, 0x80, 0x00};  // MPEG-4 LC, 44100 Hz, 2 channels, 372 bytes
    adts.resize(372 * 3, 0);

    Bytes mp4;
    test::AppendBE32(mp4, 32);
    test::Append(mp4, "ftypM4A ");
    mp4.resize(1000, 0);

    MemoryFiles files;
    files.Add("x.mpc", WithID3v1(mpc));
    files.Add("x.mp+", WithID3v1(mpc));
    files.Add("x.mac", WithID3v1(mac));
    files.Add("x.m4a", WithID3v1(adts));
    files.Add("x.mp4", WithID3v1(mp4));
    FileInfoDispatch dispatch(files);

    const std::vector<std::tuple<std::string, std::string, std::string>> cases = {
        {"x.mpc", "mpeg+tag", ""},
        {"x.mp+", "mpeg+tag", "Band - Song"},
        {"x.mac", "monkeytag", "Band - Song"},
        {"x.m4a", "aactag", "Band - Song."},
    };
    for (const auto& [name, word, title] : cases) {
        EXPECT_TRUE(dispatch.ReadFileInfo(name)) << name;
        EXPECT_EQ(dispatch.TagType, word) << name;
        EXPECT_EQ(dispatch.Tags.Title1, "Song") << name;
        EXPECT_FALSE(dispatch.Sound.duration.empty()) << name;
        EXPECT_EQ(dispatch.FileTitle(name), title) << name;
    }
    EXPECT_EQ(dispatch.Sound.bitrate, "128166");
    EXPECT_FALSE(dispatch.ReadFileInfo("x.mp4"));
    EXPECT_EQ(dispatch.TagType, "notag");
    EXPECT_EQ(dispatch.FileTitle("x.mp4"), "");
}

}  // namespace
}  // namespace qel
