#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "platform/SafeFileWrite.h"
#include "playlist/PlaylistFile.h"
#include "playlist/PlaylistFixture.h"
#include "support/TestFiles.h"

namespace qel::test {
namespace {

using Lines = std::vector<std::string>;

Bytes BytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

const Lines kExample{"a.mp3", "C:\\music\\a.mp3", "b.ogg", "D:\\b.ogg"};
const std::string kExampleText = "a.mp3\r\nC:\\music\\a.mp3\r\nb.ogg\r\nD:\\b.ogg\r\n";

class PlaylistFilesTest : public PlaylistFixture {
protected:
    void Load(const std::string& text) {
        files.Add("list.kvl", BytesOf(text));
        ASSERT_TRUE(list.readlist("list.kvl"));
    }
};

TEST(PlaylistTextTest, LineEndsOfEveryKind) {
    EXPECT_EQ(PlaylistLines(kExampleText), kExample);
    EXPECT_EQ(PlaylistLines("a.mp3\nC:\\music\\a.mp3\nb.ogg\nD:\\b.ogg"), kExample);
    EXPECT_EQ(PlaylistLines("a.mp3\rC:\\music\\a.mp3\rb.ogg\r\nD:\\b.ogg\n"), kExample);
    EXPECT_EQ(PlaylistLines("x\n\r\ny\r\r"), (Lines{"x", "", "y", ""}));
    EXPECT_EQ(PlaylistLines("x\n\ry"), (Lines{"x", "", "y"}));
    EXPECT_EQ(PlaylistLines(std::string("a\r\nb\0c\r\nd\r\n", 11)), (Lines{"a", "b"}));
    EXPECT_TRUE(PlaylistLines("").empty());
    EXPECT_EQ(PlaylistText(kExample), kExampleText);
    EXPECT_EQ(PlaylistText({}), "");
}

TEST_F(PlaylistFilesTest, SavedExampleReadsBackWithItemZeroCurrent) {
    dialogs.openAnswers.push_back(Lines{"C:\\music\\a.mp3", "D:\\b.ogg"});
    list.addfiles();
    ScratchFile saved("example.kvl");
    dialogs.saveAnswers.push_back(saved.path());
    ASSERT_TRUE(list.savelistdlg());
    EXPECT_EQ(ReadFileBytes(saved.path()), BytesOf(kExampleText));
    EXPECT_EQ(dialogs.saveShown.at(0).filter, "Korvel list|*.kvl");
    EXPECT_EQ(dialogs.saveShown.at(0).defaultExt, "kvl");

    MemoryListBox otherBox;
    TPlaylistKv other(otherBox, dialogs, ini, SystemFiles());
    std::vector<int32_t> loaded;
    other.Onaddlist = [&](int32_t n) { loaded.push_back(n); };
    other.clickitem();
    ASSERT_TRUE(other.readlist(saved.path()));
    EXPECT_EQ(other.paths(), kExample);
    EXPECT_EQ(otherBox.Items(), (Lines{"a.mp3", "b.ogg"}));
    EXPECT_EQ(other.itemIndex(), 0);
    EXPECT_FALSE(otherBox.MultiSelect());
    EXPECT_EQ(other.curpath, "C:\\music\\a.mp3");
    EXPECT_EQ(loaded, (std::vector<int32_t>{2}));
}

TEST_F(PlaylistFilesTest, ReadListReplacesTheListAndDropsAnOddLastLine) {
    AddABCDE();
    Load("n0\nC:\\p0\nn1\nC:\\p1\nhalf");
    EXPECT_EQ(box.Items(), (Lines{"n0", "n1"}));
    EXPECT_EQ(list.paths(), (Lines{"n0", "C:\\p0", "n1", "C:\\p1"}));
    EXPECT_EQ(addlists, (std::vector<int32_t>{2}));
    // Files added later pair up with their own names.
    dialogs.openAnswers.push_back(Lines{"C:\\x\\new.mp3"});
    list.addfiles();
    list.setItemIndex(2);
    list.takeselected();
    EXPECT_EQ(list.curpath, "C:\\x\\new.mp3");
}

TEST_F(PlaylistFilesTest, AListWithoutACompleteItemEmptiesTheControl) {
    AddABCDE();
    list.curpath = "C:\\m\\c.mp3";
    Load("lonely.mp3\r\n");
    EXPECT_EQ(list.count(), 0);
    EXPECT_TRUE(list.paths().empty());
    EXPECT_EQ(list.itemIndex(), -1);
    EXPECT_EQ(list.curpath, "C:\\m\\c.mp3");
    EXPECT_EQ(addlists, (std::vector<int32_t>{0}));
}

TEST_F(PlaylistFilesTest, AnUnreadableListChangesNothing) {
    AddABCDE();
    list.setItemIndex(3);
    list.curpath = "C:\\m\\d.mp3";
    EXPECT_FALSE(list.readlist("missing.kvl"));
    EXPECT_FALSE(list.openlist("missing.kvl"));
    dialogs.openAnswers.push_back(Lines{"gone.kvl"});
    list.openlistdlg();
    EXPECT_EQ(list.itemIndex(), 3);
    EXPECT_EQ(list.count(), 5);
    EXPECT_EQ(list.paths().size(), 10u);
    EXPECT_EQ(list.curpath, "C:\\m\\d.mp3");
    EXPECT_TRUE(addlists.empty());
}

TEST_F(PlaylistFilesTest, OpenListSelectsItemZero) {
    files.Add("l.kvl", BytesOf(kExampleText));
    list.clickitem();
    ASSERT_TRUE(list.openlist("l.kvl"));
    EXPECT_EQ(list.itemIndex(), 0);
    EXPECT_EQ(list.curpath, "C:\\music\\a.mp3");
}

TEST_F(PlaylistFilesTest, OpenListDialogUsesTheListFilterAndPutsTheOldOneBack) {
    list.setfilter("ogg|*.ogg");
    list.openlistdlg();  // cancelled
    files.Add("C:\\lists\\l.kvl", BytesOf(kExampleText));
    dialogs.openAnswers.push_back(Lines{"C:\\lists\\l.kvl"});
    list.openlistdlg();
    ASSERT_EQ(dialogs.openShown.size(), 2u);
    for (const auto& shown : dialogs.openShown) {
        EXPECT_EQ(shown.filter, "Korvel list|*.kvl");
        EXPECT_FALSE(shown.initialDir.empty());
        EXPECT_NE(shown.initialDir, "c:\\");
    }
    EXPECT_EQ(list.opendlg.filter, "ogg|*.ogg");
    EXPECT_EQ(list.opendlg.initialDir, dialogs.openShown[0].initialDir);
    EXPECT_EQ(list.paths(), kExample);
    EXPECT_EQ(list.itemIndex(), 0);
}

TEST_F(PlaylistFilesTest, CancelledSaveWritesNothing) {
    AddABCDE();
    EXPECT_FALSE(list.savelistdlg());
    EXPECT_EQ(dialogs.saveShown.size(), 1u);
}

TEST(SafeFileWriteTest, AFailedSaveLeavesTheOldFileIntact) {
    ScratchFile old("kept.kvl", BytesOf("old\r\nC:\\old\r\n"));
    // A folder where the temporary file would go makes the write fail.
    std::filesystem::create_directory(old.path() + ".saving");
    std::string reason;
    EXPECT_FALSE(ReplaceFileContents(old.path(), "new\r\nC:\\new\r\n", &reason));
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(ReadFileBytes(old.path()), BytesOf("old\r\nC:\\old\r\n"));
    std::filesystem::remove(old.path() + ".saving");

    ASSERT_TRUE(ReplaceFileContents(old.path(), "new\r\n"));
    EXPECT_EQ(ReadFileBytes(old.path()), BytesOf("new\r\n"));
    EXPECT_FALSE(std::filesystem::exists(old.path() + ".saving"));
    EXPECT_FALSE(ReplaceFileContents(ScratchFolder() + "no such folder/x.kvl", "x"));
}

// Style files.

const std::string kStyleText =
    "[font]\r\nfname=Tahoma\r\nfsize=10\r\nfcolor=-16777208\r\nCharset=204\r\n"
    "[fontstyle]\r\nbold=y\r\nItalic=n\r\nUnderline=n\r\nStrikeOut=n\r\n"
    "[bground]\r\ncolor=-16777211\r\n";

TEST_F(PlaylistFilesTest, WriteStyleKeyOrderAndValues) {
    list.setfontname("Tahoma");
    list.fontsize(10);
    list.setcharset(204);
    list.addstyle("bold");
    ASSERT_TRUE(list.writestyle("s.kls"));
    EXPECT_EQ(ini.texts["s.kls"], kStyleText);

    ini.readOnly.insert("ro.kls");
    EXPECT_FALSE(list.writestyle("ro.kls"));
}

TEST_F(PlaylistFilesTest, ReadStyleAppliesValuesAndOnlyAddsStyles) {
    ini.texts["s.kls"] = kStyleText;
    list.addstyle("italic");
    list.readstyle("s.kls");
    ListFont expected;
    expected.name = "Tahoma";
    expected.size = 10;
    expected.charset = 204;
    expected.bold = true;
    expected.italic = true;  // "n" never removes a style
    EXPECT_EQ(box.font, expected);
    EXPECT_EQ(box.background, -16777211);
}

TEST_F(PlaylistFilesTest, ReadStyleNumbersAndFallbacks) {
    list.fontsize(9);
    list.fontcolor("clRed");
    ini.texts["a.kls"] = "[FONT]\nFSIZE=0x0C\nfcolor=$FF00\nCharset=0x1EE\n[fontstyle]\nbold=Y\nItalic=yes\nUnderline= y \n";
    list.readstyle("a.kls");
    EXPECT_EQ(list.font().size, 12);
    EXPECT_EQ(list.font().color, 0xFF00);
    EXPECT_EQ(list.font().charset, 0xEE);
    EXPECT_FALSE(list.font().bold);
    EXPECT_FALSE(list.font().italic);
    EXPECT_TRUE(list.font().underline);
    EXPECT_EQ(list.font().name, ListFont{}.name);

    ini.texts["b.kls"] = "[font]\nfsize=twelve\nfcolor=\n[bground]\ncolor=red\n";
    list.readstyle("b.kls");
    EXPECT_EQ(list.font().size, 12);
    EXPECT_EQ(list.font().color, 0xFF00);
    EXPECT_EQ(list.color(), kColorWindow);
}

TEST_F(PlaylistFilesTest, StyleRoundTripThroughUserStyle) {
    const std::string user = TPlaylistKv::tempdir() + "kvliststyl.ini";
    ListFont before = list.font();
    list.loaduser();  // nothing saved yet
    EXPECT_EQ(list.font(), before);

    list.setfontname("Verdana");
    list.fontsize(14);
    list.fontcolor("$123456");
    list.setcolor("clInfoBk");
    list.addstyle("under");
    list.addstyle("sout");
    ASSERT_TRUE(list.saveuser());
    ASSERT_EQ(ini.texts.count(user), 1u);

    MemoryListBox otherBox;
    TPlaylistKv other(otherBox, dialogs, ini, files);
    other.loaduser();
    EXPECT_EQ(other.font(), list.font());
    EXPECT_EQ(other.color(), list.color());
}

TEST_F(PlaylistFilesTest, StyleDialogsOnlyWithoutAPathAndSettingsPutBack) {
    ini.texts["d.kls"] = kStyleText;
    list.loadstyle("d.kls");
    EXPECT_TRUE(list.savestyle("e.kls"));
    EXPECT_TRUE(dialogs.openShown.empty());
    EXPECT_TRUE(dialogs.saveShown.empty());
    EXPECT_EQ(ini.texts["e.kls"], kStyleText);

    list.setfilter("mine|*.m");
    dialogs.openAnswers.push_back(Lines{"d.kls"});
    list.loadstyle("");
    dialogs.saveAnswers.push_back("f.kls");
    EXPECT_TRUE(list.savestyle(""));
    list.savestyle("");  // cancelled
    ASSERT_EQ(dialogs.openShown.size(), 1u);
    ASSERT_EQ(dialogs.saveShown.size(), 2u);
    EXPECT_EQ(dialogs.openShown[0].filter, "list style|*.kls");
    EXPECT_EQ(dialogs.saveShown[0].filter, "list style|*.kls");
    EXPECT_EQ(dialogs.saveShown[0].defaultExt, "kls");
    EXPECT_EQ(ini.texts["f.kls"], kStyleText);
    EXPECT_EQ(list.opendlg.filter, "mine|*.m");

    ScratchFile target("after-style.kvl");
    dialogs.saveAnswers.push_back(target.path());
    list.savelistdlg();
    EXPECT_EQ(dialogs.saveShown[2].filter, "Korvel list|*.kvl");
    EXPECT_EQ(dialogs.saveShown[2].defaultExt, "kvl");
}

TEST_F(PlaylistFilesTest, TempdirEndsWithASeparator) {
    std::string dir = TPlaylistKv::tempdir();
    ASSERT_FALSE(dir.empty());
    EXPECT_TRUE(dir.back() == '\\' || dir.back() == '/');
}

}  // namespace
}  // namespace qel::test
