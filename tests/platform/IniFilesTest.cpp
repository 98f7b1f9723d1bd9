#include <gtest/gtest.h>

#include "platform/IniFile.h"
#include "platform/IniText.h"
#include "support/TestFiles.h"

namespace qel {
namespace {

TEST(IniText, LookupFollowsProfileRules) {
    const std::string text =
        "; comment\r\n[Other]\r\nvol=1\r\n[ PL_Param ]\n  VOL =  80  \nname=\"quoted value\"\r\nvol=99\r[x]\n";
    EXPECT_EQ(IniLookup(text, "pl_param", "vol"), "80");     // first match, case and blanks ignored
    EXPECT_EQ(IniLookup(text, "other", "VOL"), "1");
    EXPECT_EQ(IniLookup(text, "pl_param", "name"), "quoted value");
    EXPECT_EQ(IniLookup(text, "pl_param", "missing"), std::nullopt);
    EXPECT_EQ(IniLookup(text, "x", "vol"), std::nullopt);
    EXPECT_EQ(IniLookup(text, "nosuch", "vol"), std::nullopt);
    EXPECT_EQ(IniLookup("[s]\nk=" + std::string(3000, 'v'), "s", "k")->size(), kIniValueMax);
}

TEST(IniText, AssignReplacesAddsAndCreates) {
    std::string text = IniAssign("", "eqset", "1", "31");
    EXPECT_EQ(text, "[eqset]\r\n1=31\r\n");
    text = IniAssign(text, "eqset", "2", "32");
    text = IniAssign(text, "other", "k", "v");
    text = IniAssign(text, "EQSET", "1", "40");   // replaced in place, not duplicated
    EXPECT_EQ(text, "[eqset]\r\n1=40\r\n2=32\r\n[other]\r\nk=v\r\n");
    // A section followed by blank lines gets its new key before the blanks.
    EXPECT_EQ(IniAssign("[a]\nx=1\n\n[b]\n", "a", "y", "2"), "[a]\nx=1\ny=2\r\n\n[b]\n");
    EXPECT_EQ(IniAssign("[a]\nx=1", "a", "y", "2"), "[a]\nx=1\r\ny=2\r\n");
}

TEST(SystemIniFiles, RoundTripAndRefusedWrite) {
    test::ScratchFile file("settings.ini");
    IniFiles& ini = SystemIniFiles();
    EXPECT_EQ(ini.ReadString(file.path(), "pl_param", "vol", "dflt"), "dflt");
    ASSERT_TRUE(ini.WriteString(file.path(), "pl_param", "vol", "80"));
    ASSERT_TRUE(ini.WriteString(file.path(), "eqset", "preamp", "-3"));
    ASSERT_TRUE(ini.WriteString(file.path(), "pl_param", "vol", "75"));
    EXPECT_EQ(ini.ReadString(file.path(), "PL_PARAM", "Vol", ""), "75");
    EXPECT_EQ(ini.ReadString(file.path(), "eqset", "preamp", ""), "-3");
    EXPECT_EQ(ini.ReadString(file.path(), "eqset", "1", "none"), "none");
    // A file inside a folder that does not exist cannot be written.
    EXPECT_FALSE(ini.WriteString(test::ScratchFolder() + "no-such-folder/x.ini", "s", "k", "v"));
}

}  // namespace
}  // namespace qel
