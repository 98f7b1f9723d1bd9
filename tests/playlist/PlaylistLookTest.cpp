#include <gtest/gtest.h>

#include "playlist/ColorText.h"
#include "playlist/PlaylistFixture.h"

namespace qel::test {
namespace {

class PlaylistLookTest : public PlaylistFixture {};

TEST(ColorTextTest, NamesOfBothTablesIgnoreCase) {
    EXPECT_EQ(ColorFromText("clRed"), 0x0000FF);
    EXPECT_EQ(ColorFromText("CLRED"), 0x0000FF);
    EXPECT_EQ(ColorFromText("clskyblue"), 0xF0CAA6);
    EXPECT_EQ(ColorFromText("clNone"), 0x1FFFFFFF);
    EXPECT_EQ(ColorFromText("clDefault"), 0x20000000);
    EXPECT_EQ(ColorFromText("clScrollBar"), static_cast<int32_t>(0xFF000000));
    EXPECT_EQ(ColorFromText("clwindowtext"), -16777208);
    EXPECT_EQ(ColorFromText("clHotLight"), static_cast<int32_t>(0xFF00001A));
    EXPECT_EQ(ColorFromText("clMenuBar"), static_cast<int32_t>(0xFF00001E));
    EXPECT_EQ(ColorFromText("cl3DDkShadow"), static_cast<int32_t>(0xFF000015));
}

TEST(ColorTextTest, DecimalAndDollarHexadecimal) {
    EXPECT_EQ(ColorFromText("255"), 255);
    EXPECT_EQ(ColorFromText("$FF"), 255);
    EXPECT_EQ(ColorFromText("$ff"), 255);
    EXPECT_EQ(ColorFromText("-16777211"), -16777211);
    EXPECT_EQ(ColorFromText("$FF000005"), -16777211);
    EXPECT_EQ(ColorFromText("-2147483648"), INT32_MIN);
    for (const char* bad : {"", "red", "$", "12a", "2147483648", "$100000000", "0xFF", "clRedd", "-"})
        EXPECT_EQ(ColorFromText(bad), std::nullopt) << bad;
}

TEST(ColorTextTest, IniIntegersAcceptZeroX) {
    EXPECT_EQ(Int32FromText("0x0C", true), 12);
    EXPECT_EQ(Int32FromText("0X0c", true), 12);
    EXPECT_EQ(Int32FromText("$0C", true), 12);
    EXPECT_EQ(Int32FromText("0x", true), std::nullopt);
    EXPECT_EQ(Int32FromText("abc", true), std::nullopt);
}

TEST_F(PlaylistLookTest, ColourTextsSetTheColourOrLeaveIt) {
    for (const char* red : {"clred", "255", "$FF"}) {
        list.setcolor("clBlack");
        list.setcolor(red);
        EXPECT_EQ(list.color(), 0x0000FF) << red;
        EXPECT_EQ(box.background, 0x0000FF) << red;
    }
    int applied = box.looksApplied;
    list.setcolor("reddish");
    list.fontcolor("");
    EXPECT_EQ(list.color(), 0x0000FF);
    EXPECT_EQ(list.font().color, kColorWindowText);
    EXPECT_EQ(box.looksApplied, applied);

    list.fontcolor("clHighlight");
    EXPECT_EQ(box.font.color, static_cast<int32_t>(0xFF00000D));
}

TEST_F(PlaylistLookTest, StylesAccumulateUntilNone) {
    list.addstyle("bold");
    list.addstyle("bold");
    list.addstyle("italic");
    EXPECT_TRUE(box.font.bold && box.font.italic);
    EXPECT_FALSE(box.font.underline || box.font.strikeOut);
    list.addstyle("under");
    list.addstyle("sout");
    EXPECT_TRUE(box.font.underline && box.font.strikeOut);
    list.addstyle("NONE");
    list.addstyle("Bold");
    EXPECT_TRUE(box.font.bold);
    list.addstyle("none");
    EXPECT_EQ(box.font, ListFont{});
}

TEST_F(PlaylistLookTest, FaceSizeAndCharacterSet) {
    list.setfontname("Tahoma");
    list.fontsize(10);
    list.setcharset(204);
    EXPECT_EQ(box.font.name, "Tahoma");
    EXPECT_EQ(box.font.size, 10);
    EXPECT_EQ(box.font.charset, 204);
    list.setcharset(0x1CC);
    EXPECT_EQ(box.font.charset, 0xCC);
}

TEST_F(PlaylistLookTest, FontDialogReplacesTheWholeFontAndCancelChangesNothing) {
    list.addstyle("bold");
    list.fontsize(20);
    ListFont before = list.font();
    list.fontdlg();  // cancelled
    EXPECT_EQ(list.font(), before);
    EXPECT_EQ(dialogs.fontShown, 1);

    ListFont chosen;
    chosen.name = "Courier New";
    chosen.size = 12;
    chosen.color = 0x008000;
    chosen.charset = 238;
    chosen.italic = true;
    dialogs.fontAnswers.push_back(chosen);
    list.fontdlg();
    EXPECT_EQ(list.font(), chosen);  // bold is gone: the dialog's style replaces it
    EXPECT_EQ(box.font, chosen);
}

TEST_F(PlaylistLookTest, ColourDialog) {
    list.colordlg();
    EXPECT_EQ(list.color(), kColorWindow);
    dialogs.colorAnswers.push_back(0x00C0FF);
    list.colordlg();
    EXPECT_EQ(list.color(), 0x00C0FF);
    EXPECT_EQ(box.background, 0x00C0FF);
    EXPECT_EQ(dialogs.colorShown, 2);
}

TEST_F(PlaylistLookTest, SetFilterChangesTheAddFilesDialog) {
    list.setfilter("ogg file|*.ogg");
    list.addfiles();
    ASSERT_EQ(dialogs.openShown.size(), 1u);
    EXPECT_EQ(dialogs.openShown[0].filter, "ogg file|*.ogg");
}

}  // namespace
}  // namespace qel::test
