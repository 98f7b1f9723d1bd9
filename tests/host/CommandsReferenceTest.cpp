// docs/commands.md against the export table: one heading per export, with its
// ordinals, and no heading for a name the table lacks. Export headings have
// the form "### `name` (ordinal)" or "### `name` (ordinal, second ordinal)".
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>

#include "host/ExportTable.h"

namespace qel::test {
namespace {

const std::string kReference = std::string(QEL_SOURCE_DIR) + "/docs/commands.md";

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// "8" or "8, 125", as the headings write them.
std::string OrdinalText(const ExportEntry& e) {
    std::string text = std::to_string(e.ordinal);
    if (e.secondOrdinal != 0) text += ", " + std::to_string(e.secondOrdinal);
    return text;
}

TEST(CommandsReferenceTest, EveryExportHasOneHeadingWithItsOrdinals) {
    const std::vector<std::string> lines = Lines(ReadText(kReference));
    ASSERT_FALSE(lines.empty()) << "cannot read " << kReference;

    static const std::regex heading(R"(### `([A-Za-z0-9_]+)` \(([0-9]+)(, [0-9]+)?\))");
    std::map<std::string, std::string> documented;  // name -> ordinals
    for (const std::string& line : lines) {
        if (line.rfind("### `", 0) != 0) continue;
        std::smatch m;
        ASSERT_TRUE(std::regex_match(line, m, heading)) << "malformed export heading: " << line;
        EXPECT_TRUE(documented.emplace(m[1], m[2].str() + m[3].str()).second) << "two headings for " << m[1];
        EXPECT_NE(FindExport(m[1].str()), nullptr) << "the reference names " << m[1] << ", the export table does not";
    }
    for (const ExportEntry& e : ExportTable()) {
        const auto found = documented.find(std::string(e.name));
        if (found == documented.end()) {
            ADD_FAILURE() << "no heading for the export " << e.name;
            continue;
        }
        EXPECT_EQ(found->second, OrdinalText(e)) << e.name;
    }
}

// The worked example quoted in the reference is the script that runs as a test.
TEST(CommandsReferenceTest, WorkedExampleIsTheTestedScript) {
    const std::string marker = "<!-- worked example: tests/hostscripts/worked_example.qhs -->";
    const std::vector<std::string> lines = Lines(ReadText(kReference));
    auto at = std::find(lines.begin(), lines.end(), marker);
    ASSERT_NE(at, lines.end()) << "no worked example marker in " << kReference;
    ASSERT_TRUE(++at != lines.end() && *at == "```");
    std::vector<std::string> quoted;
    for (++at; at != lines.end() && *at != "```"; ++at) quoted.push_back(*at);
    EXPECT_EQ(quoted, Lines(ReadText(std::string(QEL_SOURCE_DIR) + "/tests/hostscripts/worked_example.qhs")));
}

}  // namespace
}  // namespace qel::test
