// The built plug-in library exports exactly the export table: every name at
// its ordinals, under the library name the host expects.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "host/ExportTable.h"
#include "support/PeExports.h"

namespace qel::test {
namespace {

const std::string kLibrary = std::string(QEL_BINARY_DIR) + "/bin/qelplugin.dll";

TEST(ExportDirectoryTest, NamesAndOrdinalsMatchTheTable) {
    const auto exports = ReadPeExports(kLibrary);
    ASSERT_TRUE(exports) << kLibrary;
    EXPECT_EQ(exports->libraryName, "qelplugin.dll");
    EXPECT_EQ(exports->ordinalBase, 1u);

    std::vector<PeExports::Name> expected;
    for (const ExportEntry& e : ExportTable()) {
        expected.push_back({std::string(e.name), e.ordinal});
        if (e.secondOrdinal) expected.push_back({std::string(e.name), e.secondOrdinal});
    }
    std::vector<PeExports::Name> actual = exports->names;
    EXPECT_TRUE(std::is_sorted(actual.begin(), actual.end(),
                               [](const auto& a, const auto& b) { return a.name < b.name; }))
        << "the loader's binary search needs sorted names";
    std::sort(expected.begin(), expected.end());
    std::sort(actual.begin(), actual.end());
    EXPECT_EQ(actual, expected);
    EXPECT_EQ(exports->ordinals.size(), 141u);
    EXPECT_EQ(exports->ordinals.front(), 1u);
    EXPECT_EQ(exports->ordinals.back(), 141u);
}

TEST(ExportDirectoryTest, TheLoaderFindsEveryNameAndBothOrdinalsOfADoubledName) {
    HMODULE library = LoadLibraryA(kLibrary.c_str());
    ASSERT_NE(library, nullptr);
    for (const ExportEntry& e : ExportTable()) {
        const std::string name(e.name);
        FARPROC byName = GetProcAddress(library, name.c_str());
        EXPECT_NE(byName, nullptr) << name;
        EXPECT_EQ(GetProcAddress(library, MAKEINTRESOURCEA(e.ordinal)), byName) << name;
        if (e.secondOrdinal) {
            EXPECT_EQ(GetProcAddress(library, MAKEINTRESOURCEA(e.secondOrdinal)), byName) << name;
        }
    }
    // Empty slots round-trip through the entry points without a window.
    using SetData = int32_t(__cdecl*)(int32_t);
    using GetFile = const char*(__cdecl*)();
    auto setData = reinterpret_cast<SetData>(reinterpret_cast<void*>(GetProcAddress(library, "SetData")));
    auto getFile = reinterpret_cast<GetFile>(reinterpret_cast<void*>(GetProcAddress(library, "GetFile")));
    ASSERT_TRUE(setData && getFile);
    EXPECT_EQ(setData(-5), -5);
    ASSERT_NE(getFile(), nullptr);
    EXPECT_STREQ(getFile(), "");
    FreeLibrary(library);
}

}  // namespace
}  // namespace qel::test
