#include <gtest/gtest.h>

#include "platform/CodePage.h"
#include "platform/RequestFiles.h"
#include "readers/TextForms.h"
#include "readers/virtualtag.h"
#include "support/CountingFiles.h"
#include "support/TestFiles.h"

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

TEST(Records, NamesFollowSlotOrder) {
    EXPECT_STREQ(Tinfosound::kNames[0], "bitratenom");
    EXPECT_STREQ(Tinfosound::kNames[28], "compresion");
    Tinfosound s;
    s.*Tinfosound::kFields[12] = "3";
    EXPECT_EQ(s.duration, "3");
    EXPECT_EQ(Tinfotag::kNamed.front().slot, 2u);
    EXPECT_EQ(Tinfotag::kNamed.back().slot, 34u);
    for (size_t i = 1; i < Tinfotag::kNamed.size(); ++i) EXPECT_LT(Tinfotag::kNamed[i - 1].slot, Tinfotag::kNamed[i].slot);
    // Slot numbers equal member positions in the record.
    Tinfotag t;
    for (const auto& named : Tinfotag::kNamed) {
        auto* base = reinterpret_cast<const char*>(&t);
        auto* member = reinterpret_cast<const char*>(&(t.*named.field));
        EXPECT_EQ(static_cast<size_t>(member - base) / sizeof(std::string), named.slot) << named.name;
    }
}

// A class that lacks an operation cannot leave it silent: it must say so.
class PartialReader : public Ttag {
public:
    bool ReadInfo(const std::string&) override { NotProvided("ReadInfo"); }
    bool Open(const std::string&) override { return false; }
    void FillSoundInfo(Tinfosound&) override {}
    void FillTagInfo(Tinfotag&) override {}
    std::string ArtistTitle(const std::string&) override { return {}; }
};

TEST(Ttag, RecordsClearEverySlot) {
    const std::string x = "x";
    Tinfosound sound;
    for (auto field : Tinfosound::kFields) sound.*field = x;
    sound.Clear();
    EXPECT_EQ(sound, Tinfosound{});
    Tinfotag tags;
    for (const auto& named : Tinfotag::kNamed) tags.*named.field = x;
    for (std::string* spare : {&tags.spare0, &tags.spare1, &tags.spare16, &tags.spare22, &tags.spare23}) *spare = x;
    tags.Clear();
    EXPECT_EQ(tags, Tinfotag{});
}

TEST(Ttag, MissingOperationIsAnError) {
    PartialReader reader;
    EXPECT_THROW(reader.ReadInfo("x"), AbstractCallError);
    EXPECT_FALSE(reader.HasTag);
    EXPECT_TRUE(reader.TypeName.empty());
}

TEST(RequestFiles, OneOpenServesEveryReadOfARequest) {
    test::Bytes data;
    for (int i = 0; i < 40000; ++i) data.push_back(static_cast<uint8_t>(i * 7));
    test::ScratchFile file("request.bin", data);
    test::CountingFiles counting;
    RequestFiles files(counting);
    for (int round = 0; round < 3; ++round) {
        auto f = files.OpenRead(file.path(), ShareMode::AllowWriters);
        ASSERT_TRUE(f);
        EXPECT_EQ(f->Size(), 40000);
        uint8_t buf[100];
        ASSERT_TRUE(ReadAt(*f, 16380, buf, 10));  // across a block boundary
        for (int i = 0; i < 10; ++i) EXPECT_EQ(buf[i], static_cast<uint8_t>((16380 + i) * 7));
        ASSERT_TRUE(f->Seek(39990));
        EXPECT_EQ(f->Read(buf, 100), 10u);
        EXPECT_EQ(f->Position(), 40000);
        ASSERT_TRUE(f->Seek(50000));
        EXPECT_EQ(f->Read(buf, 100), 0u);
        EXPECT_FALSE(f->Seek(-1));
    }
    EXPECT_EQ(counting.opens, 1);
    std::string reason;
    EXPECT_FALSE(files.OpenRead(test::ScratchFolder() + "missing.bin", ShareMode::AllowWriters, &reason));
    EXPECT_FALSE(reason.empty());
    EXPECT_FALSE(files.OpenRead(test::ScratchFolder() + "missing.bin", ShareMode::AllowWriters));
    EXPECT_EQ(counting.opens, 2);
}

}  // namespace
}  // namespace qel
