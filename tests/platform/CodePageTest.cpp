#include <gtest/gtest.h>

#include "platform/CodePage.h"
#include "readers/TextForms.h"

namespace qel {
namespace {

TEST(CodePage, WideToSystemUsesTheChosenCodePage) {
#ifndef _WIN32
    ASSERT_TRUE(SelectCodePage(1252));
    EXPECT_EQ(WideToSystem(u"caf\u00E9 \u20AC \u0416"), "caf\xE9 \x80 ?");
    EXPECT_EQ(SystemToUtf8("caf\xE9 \x80"), "caf\xC3\xA9 \xE2\x82\xAC");
    ASSERT_TRUE(SelectCodePage(1251));
    EXPECT_EQ(WideToSystem(u"\u0416"), "\xC6");
    EXPECT_FALSE(SelectCodePage(4242));
    ASSERT_TRUE(SelectCodePage(1252));
#endif
    EXPECT_EQ(Utf8ToWide("plain"), "plain");
    EXPECT_EQ(WideToSystem(std::u16string(u"a\0b", 3)), std::string("a\0b", 3));
}

}  // namespace
}  // namespace qel
