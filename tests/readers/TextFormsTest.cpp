#include <gtest/gtest.h>

#include "readers/TextForms.h"

namespace qel {
namespace {

TEST(RealText, GeneralFormat) {
    EXPECT_EQ(RealText(0, '.'), "0");
    EXPECT_EQ(RealText(3, '.'), "3");
    EXPECT_EQ(RealText(215.5, '.'), "215.5");
    EXPECT_EQ(RealText(-215.5, ','), "-215,5");
    EXPECT_EQ(RealText(1.0 / 3, '.'), "0.333333333333333");
    EXPECT_EQ(RealText(2.0 / 3, '.'), "0.666666666666667");
    EXPECT_EQ(RealText(0.0001, '.'), "0.0001");
    EXPECT_EQ(RealText(0.00012, '.'), "0.00012");
    EXPECT_EQ(RealText(9e-5, '.'), "9E-5");
    EXPECT_EQ(RealText(1.5e-6, '.'), "1.5E-6");
    EXPECT_EQ(RealText(-1.5e-6, ','), "-1,5E-6");
    EXPECT_EQ(RealText(999999999999999.0, '.'), "999999999999999");
    EXPECT_EQ(RealText(1e15, '.'), "1E15");
    EXPECT_EQ(RealText(1.25e17, '.'), "1.25E17");
    EXPECT_EQ(RealText(26.122448979591837, '.'), "26.1224489795918");
}

TEST(RoundTiesEven, HalvesGoToEven) {
    EXPECT_EQ(RoundTiesEven(0.5), 0);
    EXPECT_EQ(RoundTiesEven(1.5), 2);
    EXPECT_EQ(RoundTiesEven(2.5), 2);
    EXPECT_EQ(RoundTiesEven(-2.5), -2);
    EXPECT_EQ(RoundTiesEven(2.5000001), 3);
    EXPECT_EQ(RoundTiesEven(127.49), 127);
}

TEST(Divide, ZeroDivisorIsAnError) {
    EXPECT_DOUBLE_EQ(Divide(3, 2), 1.5);
    EXPECT_THROW(Divide(1, 0), std::domain_error);
}

TEST(TrackFromText, LeadingNumberBeforeSlash) {
    EXPECT_EQ(TrackFromText("3/12"), 3);
    EXPECT_EQ(TrackFromText("  7"), 7);
    EXPECT_EQ(TrackFromText("-4"), -4);
    EXPECT_EQ(TrackFromText("12"), 12);
    EXPECT_EQ(TrackFromText(""), 0);
    EXPECT_EQ(TrackFromText("/5"), 0);
    EXPECT_EQ(TrackFromText("7 "), 0);
    EXPECT_EQ(TrackFromText("x1"), 0);
    EXPECT_EQ(TrackFromText("2147483647"), 2147483647);
    EXPECT_EQ(TrackFromText("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(TrackFromText("2147483648"), 0);
    EXPECT_EQ(TrackFromText("99999999999999999999"), 0);
}

TEST(Utf8ToWide, DecodesAndStopsAtFirstBadSequence) {
    EXPECT_EQ(Utf8ToWide16("abc"), u"abc");
    EXPECT_EQ(Utf8ToWide16("\xC3\xA9t\xC3\xA9"), u"\u00E9t\u00E9");
    EXPECT_EQ(Utf8ToWide16("\xE2\x82\xAC!"), u"\u20AC!");
    EXPECT_EQ(Utf8ToWide16("ok\xC3"), u"ok");          // cut after the lead byte
    EXPECT_EQ(Utf8ToWide16("ok\xE2\x82"), u"ok");      // cut inside a 3-byte sequence
    EXPECT_EQ(Utf8ToWide16("a\xC3(b"), u"a");          // bad continuation
    EXPECT_EQ(Utf8ToWide16("a\xE2(\xAC"), u"a");
    // A 4-byte sequence is taken as lead + 2 continuations, cut to 16 bits.
    EXPECT_EQ(Utf8ToWide16("\xF0\x9F\x98").size(), 1u);
}

TEST(Utf8ToUtf16, StandardDecodingWithReplacementCharacters) {
    EXPECT_EQ(Utf8ToUtf16("a\xC3\xA9\xE2\x82\xAC"), u"a\u00E9\u20AC");
    EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x8E\xB5!"), u"\U0001F3B5!");  // a surrogate pair
    // Stray, overlong and surrogate forms are replaced and decoding goes on.
    EXPECT_EQ(Utf8ToUtf16("\x80x\xC0\xAFy\xED\xA0\x80z\xF5"), u"\uFFFDx\uFFFD\uFFFDy\uFFFD\uFFFD\uFFFDz\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("a\xC3(b"), u"a\uFFFD(b");
    EXPECT_EQ(Utf8ToUtf16("ok\xF0\x9F\x8E"), u"ok");  // cut by the end of the text
}

}  // namespace
}  // namespace qel
