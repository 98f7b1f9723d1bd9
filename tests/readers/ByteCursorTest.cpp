#include "readers/ByteCursor.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/RequestFiles.h"
#include "readers/FileBytes.h"
#include "support/MemoryFiles.h"

namespace qel {
namespace {

const uint8_t kBytes[] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09};

TEST(ByteOrder, WideLoads) {
    EXPECT_EQ(LoadLE24(kBytes), 0x030201u);
    EXPECT_EQ(LoadBE24(kBytes), 0x010203u);
    EXPECT_EQ(LoadLE64(kBytes), 0x0807060504030201u);
    EXPECT_EQ(LoadBE64(kBytes), 0x0102030405060708u);
    const uint8_t high[] = {0xFF, 0xFE, 0xFD, 0xFC, 0xFB, 0xFA, 0xF9, 0xF8};  // no sign spreads
    EXPECT_EQ(LoadBE24(high), 0xFFFEFDu);
    EXPECT_EQ(LoadLE64(high), 0xF8F9FAFBFCFDFEFFu);
}

// Each read starts at the last byte of kBytes (0x09).
struct PastEndRow {
    const char* name;
    uint64_t (*zero)(ByteCursor&);  // zero past the end
    bool (*fails)(ByteCursor&);     // true when the read failed
    uint64_t expected;
};

template <class T, bool (ByteCursor::*Try)(T&)>
bool Fails(ByteCursor& c) {
    T value{};
    return !(c.*Try)(value);
}

const PastEndRow kPastEnd[] = {
    {"LE16", [](ByteCursor& c) -> uint64_t { return c.LE16(); }, Fails<uint16_t, &ByteCursor::TryLE16>, 0x0009},
    {"BE16", [](ByteCursor& c) -> uint64_t { return c.BE16(); }, Fails<uint16_t, &ByteCursor::TryBE16>, 0x0900},
    {"LE24", [](ByteCursor& c) -> uint64_t { return c.LE24(); }, Fails<uint32_t, &ByteCursor::TryLE24>, 0x09},
    {"BE24", [](ByteCursor& c) -> uint64_t { return c.BE24(); }, Fails<uint32_t, &ByteCursor::TryBE24>, 0x090000},
    {"LE32", [](ByteCursor& c) -> uint64_t { return c.LE32(); }, Fails<uint32_t, &ByteCursor::TryLE32>, 0x09},
    {"BE32", [](ByteCursor& c) -> uint64_t { return c.BE32(); }, Fails<uint32_t, &ByteCursor::TryBE32>, 0x09000000},
    {"LE64", [](ByteCursor& c) -> uint64_t { return c.LE64(); }, Fails<uint64_t, &ByteCursor::TryLE64>, 0x09},
    {"BE64", [](ByteCursor& c) -> uint64_t { return c.BE64(); }, Fails<uint64_t, &ByteCursor::TryBE64>,
     0x0900000000000000},
};

TEST(ByteCursor, ZeroPastTheEndAndFailingReads) {
    for (const auto& row : kPastEnd) {
        SCOPED_TRACE(row.name);
        ByteCursor zero(kBytes, sizeof kBytes - 1);
        EXPECT_EQ(row.zero(zero), row.expected);
        EXPECT_TRUE(zero.AtEnd());  // stops at the end, not beyond
        EXPECT_EQ(row.zero(zero), 0u);

        ByteCursor failing(kBytes, sizeof kBytes - 1);
        EXPECT_TRUE(row.fails(failing));
        EXPECT_EQ(failing.Position(), sizeof kBytes - 1);  // a failed read moves nothing
        ByteCursor whole(kBytes);
        EXPECT_FALSE(row.fails(whole));
    }
}

TEST(ByteCursor, TakeAndCopyStopAtTheEnd) {
    ByteCursor c(kBytes, 7);
    std::span<const uint8_t> exact;
    EXPECT_FALSE(c.TryTake(3, exact));
    EXPECT_EQ(c.Position(), 7u);
    uint8_t out[4] = {0xAA, 0xAA, 0xAA, 0xAA};
    EXPECT_EQ(c.CopyTo(out, sizeof out), 2u);
    EXPECT_EQ(std::vector<uint8_t>(out, out + 4), (std::vector<uint8_t>{0x08, 0x09, 0, 0}));
    c.Seek(1);
    EXPECT_EQ(c.Take(1'000'000'000'000).size(), 8u);  // a length from a file that the block cannot hold
    c.Seek(2);
    c.Skip(UINT64_MAX);
    EXPECT_TRUE(c.AtEnd());
}

TEST(BitWindow, BitsAcrossBytesAndPastTheEnd) {
    const uint8_t bytes[] = {0xFF, 0xF1, 0x50, 0x80};
    const BitWindow window(bytes);
    EXPECT_EQ(window.Bits(0, 12), 0xFFFu);
    EXPECT_EQ(window.Bits(12, 4), 0x1u);
    EXPECT_EQ(window.Bits(4, 32), 0xFF150800u);  // the last byte is followed by zero bits
    EXPECT_EQ(window.Bits(24, 1), 1u);
    EXPECT_EQ(window.Bits(40, 8), 0u);  // wholly past the end
}

TEST(CursorAt, BytesAcrossARequestBlockBoundary) {
    MemoryFiles memory;
    std::vector<uint8_t> contents(RequestFiles::kBlockSize + 8);
    for (size_t i = 0; i < contents.size(); ++i) contents[i] = static_cast<uint8_t>(i * 7);
    memory.Add("f", contents);
    RequestFiles request(memory);
    auto file = request.OpenRead("f", ShareMode::AllowWriters);
    for (int64_t at : {int64_t{0}, RequestFiles::kBlockSize - 2, RequestFiles::kBlockSize + 4}) {
        SCOPED_TRACE(at);
        uint8_t scratch[6];
        ByteCursor c = CursorAt(*file, at, scratch);
        const size_t expected = std::min<size_t>(6, contents.size() - static_cast<size_t>(at));
        ASSERT_EQ(c.Size(), expected);
        for (size_t i = 0; i < expected; ++i) EXPECT_EQ(c.U8(), contents[static_cast<size_t>(at) + i]);
        EXPECT_EQ(file->Position(), at + static_cast<int64_t>(expected));
    }
}

}  // namespace
}  // namespace qel
