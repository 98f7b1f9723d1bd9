#include "tools/HostScript.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tools/PictureCheck.h"

namespace qel::host {
namespace {

TEST(HostScript, ReadmeShowsTheActionTable) {
    const std::string path = std::string(QEL_SOURCE_DIR) + "/README.md";
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path;
    std::stringstream readme;
    readme << in.rdbuf();
    EXPECT_NE(readme.str().find(ActionTable()), std::string::npos)
        << "README.md's qelhost action table should read:\n" << ActionTable();
}

TEST(HostScript, ActionsKnowTheirRowAndArguments) {
    std::string error;
    const auto actions = ParseScript("# note\n\n  expectitems a b|c\r\ncanceldialog\ndraw 0 1 2 3 4\n", {}, error);
    ASSERT_TRUE(actions) << error;
    ASSERT_EQ(actions->size(), 3u);
    const auto rules = ActionRules();
    EXPECT_STREQ(rules[(*actions)[0].kind].word, "expectitems");
    EXPECT_EQ((*actions)[0].rest, "a b|c");
    EXPECT_EQ((*actions)[0].line, 3);
    EXPECT_STREQ(rules[(*actions)[1].kind].word, "canceldialog");
    EXPECT_EQ((*actions)[2].args.size(), 5u);
}

TEST(HostScript, RejectsUnknownWordsWrongCountsAndOpenVariables) {
    const struct {
        const char* script;
        const char* error;
    } rows[] = {
        {"parent\nfly 3\n", "line 2: unknown word \"fly\""},
        {"draw 1 2\n", "line 1: \"draw\" takes 5 argument(s)"},
        {"canceldialog now\n", "line 1: \"canceldialog\" takes 0 argument(s)"},
        {"print ${TEMP\n", "line 1: unclosed \"${\""},
    };
    for (const auto& row : rows) {
        std::string error;
        EXPECT_FALSE(ParseScript(row.script, {{"TEMP", "t"}}, error)) << row.script;
        EXPECT_EQ(error, row.error) << row.script;
    }
}

TEST(HostScript, PictureCheckNeedsTwoColoursWithinTheFile) {
    std::vector<uint8_t> bmp(54 + 6, 0);
    bmp[0] = 'B';
    bmp[1] = 'M';
    bmp[10] = 54;
    EXPECT_FALSE(PictureHasContent(bmp));
    bmp[57] = 0xFF;
    EXPECT_TRUE(PictureHasContent(bmp));
    bmp[10] = 0xFF;  // pixels said to start past the end
    bmp[13] = 0x7F;
    EXPECT_FALSE(PictureHasContent(bmp));
    EXPECT_FALSE(PictureHasContent({'B', 'M'}));
}

}  // namespace
}  // namespace qel::host
