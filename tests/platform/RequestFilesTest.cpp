#include <gtest/gtest.h>

#include "platform/RequestFiles.h"
#include "support/CountingFiles.h"
#include "support/TestFiles.h"

namespace qel {
namespace {

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
    // An open that denies writers needs its own open, but reads the blocks
    // already read; an open allowing writers is then served by either.
    const int64_t bytesRead = counting.bytes;
    auto denying = files.OpenRead(file.path(), ShareMode::DenyWriters);
    ASSERT_TRUE(denying);
    uint8_t byte = 0;
    ASSERT_TRUE(ReadAt(*denying, 16381, &byte, 1));
    EXPECT_EQ(byte, static_cast<uint8_t>(16381 * 7));
    EXPECT_TRUE(files.OpenRead(file.path(), ShareMode::DenyWriters));
    EXPECT_TRUE(files.OpenRead(file.path(), ShareMode::AllowWriters));
    EXPECT_EQ(counting.opens, 2);
    EXPECT_EQ(counting.bytes, bytesRead);
    std::string reason;
    EXPECT_FALSE(files.OpenRead(test::ScratchFolder() + "missing.bin", ShareMode::AllowWriters, &reason));
    EXPECT_FALSE(reason.empty());
    EXPECT_FALSE(files.OpenRead(test::ScratchFolder() + "missing.bin", ShareMode::AllowWriters));
    EXPECT_EQ(counting.opens, 3);
}

}  // namespace
}  // namespace qel
