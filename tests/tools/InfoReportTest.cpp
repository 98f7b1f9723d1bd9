#include "tools/InfoReport.h"

#include <gtest/gtest.h>

#include "support/CountingFiles.h"
#include "support/MemoryFiles.h"

namespace qel {
namespace {

// Positions of each needle in order; fails when one is missing or out of order.
void ExpectInOrder(const std::string& text, const std::vector<std::string>& needles) {
    size_t from = 0;
    for (const auto& needle : needles) {
        size_t at = text.find(needle, from);
        ASSERT_NE(at, std::string::npos) << "missing or out of order: " << needle;
        from = at + needle.size();
    }
}

TEST(InfoReportText, JsonStringsEscapeQuotesBackslashesAndControls) {
    EXPECT_EQ(JsonString(""), "\"\"");
    EXPECT_EQ(JsonString("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(JsonString("1\n2\r3\t4\b5\f"), "\"1\\n2\\r3\\t4\\b5\\f\"");
    EXPECT_EQ(JsonString(std::string("\x01\x1f\x7f", 3)), "\"\\u0001\\u001f\x7f\"");
    EXPECT_EQ(JsonString("caf\xC3\xA9 /"), "\"caf\xC3\xA9 /\"");
}

TEST(InfoReportText, MalformedUtf8IsReplacedByteByByte) {
    const std::string r = "\xEF\xBF\xBD";
    EXPECT_EQ(SanitizeUtf8("ok \xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8E\xB5"), "ok \xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8E\xB5");
    EXPECT_EQ(SanitizeUtf8("a\xE9z"), "a" + r + "z");          // a lone 8-bit byte
    EXPECT_EQ(SanitizeUtf8("a\xE2\x82"), "a" + r + r);          // cut at the end
    EXPECT_EQ(SanitizeUtf8("\xC0\xAF"), r + r);                 // overlong
    EXPECT_EQ(SanitizeUtf8("\xED\xA0\x80"), r + r + r);         // surrogate
    EXPECT_EQ(SanitizeUtf8("\xF4\x90\x80\x80"), r + r + r + r);  // past U+10FFFF
}

TEST(InfoReportText, HostTextEndsAtTheFirstZeroByte) {
    EXPECT_EQ(HostText(std::string("Song\0junk", 9)), "Song");
    EXPECT_EQ(HostText(std::string("\0x", 2)), "");
#ifndef _WIN32
    // Outside Windows the default code page is Windows-1252.
    EXPECT_EQ(HostText("caf\xE9 \x80"), "caf\xC3\xA9 \xE2\x82\xAC");
#endif
}

FileReport Sample() {
    FileReport r;
    r.file = "dir/a \"b\".mp3";
    r.typetag = "mp3tag";
    r.title = "Song-Band";
    r.sound.version = "MPEG 1";
    r.sound.duration = "26.1224489795918";
    r.sound.compresion = std::string("x\0y", 3);
    r.tag.Title1 = "Song";
    r.tag.Track = "5";
    r.tag.spare16 = "never shown";
    return r;
}

TEST(InfoReportOutput, TextListsNonEmptyFieldsInRecordOrder) {
    EXPECT_EQ(TextReport(Sample()),
              "file: dir/a \"b\".mp3\n"
              "typetag: mp3tag\n"
              "title: Song-Band\n"
              "version: MPEG 1\n"
              "duration: 26.1224489795918\n"
              "compresion: x\n"
              "Title1: Song\n"
              "Track: 5\n");
    FileReport missing;
    missing.file = "gone.mp3";
    missing.typetag = "notag";
    EXPECT_EQ(TextReport(missing), "file: gone.mp3\ntypetag: notag\ntitle:\n");
}

TEST(InfoReportOutput, JsonHasEveryFieldOfBothRecordsAsStrings) {
    std::string json = JsonReport({Sample(), FileReport{}});
    std::vector<std::string> order = {"[", "{", "\"file\": \"dir/a \\\"b\\\".mp3\",", "\"typetag\": \"mp3tag\",",
                                      "\"title\": \"Song-Band\",", "\"sound\": {"};
    auto key = [](const char* name) { return JsonString(name) + ": \""; };
    for (const char* name : Tinfosound::kNames) order.push_back(key(name));
    order.push_back("\"tag\": {");
    for (const auto& named : Tinfotag::kNamed) order.push_back(key(named.name));
    order.push_back("},\n  {");
    order.push_back("\"file\": \"\"");
    ExpectInOrder(json, order);
    EXPECT_NE(json.find("\"compresion\": \"x\"\n"), std::string::npos);
    EXPECT_NE(json.find("\"Track\": \"5\"\n"), std::string::npos);
    EXPECT_EQ(json.find("never shown"), std::string::npos);
    EXPECT_EQ(json.substr(json.size() - 12), "    }\n  }\n]\n");
    EXPECT_EQ(JsonReport({}), "[]\n");
}

TEST(InfoReportArguments, OptionsFilesAndUsageErrors) {
    std::string error;
    auto o = ParseInfoArguments({"--json", "a.mp3", "--codepage", "1251", "b.wav"}, error);
    ASSERT_TRUE(o);
    EXPECT_TRUE(o->json);
    EXPECT_EQ(o->codePage, 1251u);
    EXPECT_EQ(o->files, (std::vector<std::string>{"a.mp3", "b.wav"}));

    o = ParseInfoArguments({"--codepage=866", "--", "--json", "-"}, error);
    ASSERT_TRUE(o);
    EXPECT_FALSE(o->json);
    EXPECT_EQ(o->codePage, 866u);
    EXPECT_EQ(o->files, (std::vector<std::string>{"--json", "-"}));

    o = ParseInfoArguments({"--cdplayer", "db.ini", "t.cda", "--cdplayer=other.ini"}, error);
    ASSERT_TRUE(o);
    EXPECT_EQ(o->cdPlayerDatabase, "other.ini");
    EXPECT_EQ(o->files, (std::vector<std::string>{"t.cda"}));

    o = ParseInfoArguments({"--help"}, error);
    ASSERT_TRUE(o);
    EXPECT_TRUE(o->help);

    for (const auto& bad : std::vector<std::vector<std::string>>{
             {}, {"--json"}, {"--codepage"}, {"--codepage", "abc", "a"}, {"--codepage", "0", "a"},
             {"--codepage=70000", "a"}, {"--codepage", "-5", "a"}, {"-x", "a"}, {"a", "--cdplayer"}}) {
        error.clear();
        EXPECT_FALSE(ParseInfoArguments(bad, error)) << (bad.empty() ? "" : bad[0]);
        EXPECT_FALSE(error.empty());
    }
}

TEST(InfoReportRead, AMissingFileIsNotagWithItsReason) {
    MemoryFiles files;
    FileReport r = ReadReport(files, "gone.mp3", "gone.mp3");
    EXPECT_EQ(r.typetag, "notag");
    EXPECT_EQ(r.title, "");
    EXPECT_FALSE(r.error.empty());
    EXPECT_EQ(r.sound, Tinfosound{});
}

TEST(InfoReportRead, AnUnknownFormatIsNotagWithoutError) {
    MemoryFiles memory;
    memory.Add("song.xyz", MemoryFiles::Bytes(4000, 0x41));
    test::CountingFiles files(memory);
    FileReport r = ReadReport(files, "song.xyz", "shown.xyz");
    EXPECT_EQ(r.file, "shown.xyz");
    EXPECT_EQ(r.typetag, "notag");
    EXPECT_TRUE(r.error.empty());
    EXPECT_EQ(files.opens, 1);
}

}  // namespace
}  // namespace qel
