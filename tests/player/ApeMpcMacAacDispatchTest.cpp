#include <gtest/gtest.h>

#include "platform/fake/MemoryFiles.h"
#include "player/FileInfoDispatch.h"
#include "support/ApeTagBytes.h"

namespace qel {
namespace {

using test::Bytes;

Bytes WithApeTag(Bytes audio) {
    Bytes tag = test::ApeTag({{"Title", "Song"}, {"Artist", "Band"}});
    audio.insert(audio.end(), tag.begin(), tag.end());
    return audio;
}

TEST(ApeDispatch, ApeTagFillsOnlyTheApeFieldsAndNoTitle) {
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

}  // namespace
}  // namespace qel
