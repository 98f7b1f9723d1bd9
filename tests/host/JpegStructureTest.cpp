// Which picture files the background takes: kinds by extension, and JPEG
// files only when they are whole and of a sane size.
#include <gtest/gtest.h>

#include <functional>

#include "host/JpegStructure.h"
#include "platform/PluginWindow.h"
#include "support/TestFiles.h"

namespace qel::test {
namespace {

// Position of the first byte after the marker FF <marker>.
size_t After(const Bytes& jpeg, uint8_t marker) {
    for (size_t i = 0; i + 1 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == marker) return i + 2;
    ADD_FAILURE() << "no marker " << int(marker);
    return jpeg.size();
}

TEST(JpegStructureTest, WholePicturesPassAndDamagedOrForeignOnesDoNot) {
    const Bytes baseline = ReadFileBytes(DataPath("pictures/baseline.jpg"));
    const Bytes progressive = ReadFileBytes(DataPath("pictures/progressive.jpg"));
    ASSERT_FALSE(baseline.empty());
    EXPECT_TRUE(IsWholeJpeg(baseline.data(), baseline.size()));
    EXPECT_TRUE(IsWholeJpeg(progressive.data(), progressive.size()));

    struct Case {
        const char* what;
        std::function<Bytes()> make;
        bool whole;
    };
    const Case cases[] = {
        {"bytes after the end marker", [&] { Bytes b = baseline; Append(b, "trailer"); return b; }, true},
        {"cut in the scan", [&] { return Bytes(baseline.begin(), baseline.end() - 20); }, false},
        {"cut before the end marker", [&] { return Bytes(baseline.begin(), baseline.end() - 2); }, false},
        {"progressive cut short", [&] { return Bytes(progressive.begin(), progressive.end() - 100); }, false},
        {"only the header", [&] { return Bytes(baseline.begin(), baseline.begin() + 20); }, false},
        {"wrong first byte", [&] { Bytes b = baseline; b[0] = 0x00; return b; }, false},
        {"zero bytes", [] { return Bytes{}; }, false},
        {"a PNG", [] { return ReadFileBytes(DataPath("pictures/really-png.jpg")); }, false},
        {"text", [] { Bytes b; Append(b, "not a picture at all\r\n"); return b; }, false},
        {"huge frame",
         [&] {
             Bytes b = baseline;  // 65535 x 65535 pixels in the frame header
             const size_t frame = After(b, 0xC0);
             for (size_t i = 3; i < 7; ++i) b[frame + i] = 0xFF;
             return b;
         },
         false},
        {"frame of width 0",
         [&] {
             Bytes b = baseline;
             const size_t frame = After(b, 0xC0);
             b[frame + 5] = b[frame + 6] = 0;
             return b;
         },
         false},
        {"segment longer than the file",
         [&] {
             Bytes b = baseline;
             const size_t tables = After(b, 0xDB);
             b[tables] = b[tables + 1] = 0xFF;
             return b;
         },
         false},
        {"scan without a frame",
         [&] {
             Bytes b = baseline;
             b[After(b, 0xC0) - 1] = 0xE5;  // the frame header becomes an application segment
             return b;
         },
         false},
    };
    for (const Case& c : cases) {
        const Bytes bytes = c.make();
        EXPECT_EQ(IsWholeJpeg(bytes.data(), bytes.size()), c.whole) << c.what;
    }
    EXPECT_FALSE(IsWholeJpeg(nullptr, 0));
}

TEST(JpegStructureTest, PictureKindsByExtension) {
    EXPECT_EQ(PictureKindOf("C:\\a\\b.JPEG"), PictureKind::Jpeg);
    EXPECT_EQ(PictureKindOf("b.jpg"), PictureKind::Jpeg);
    EXPECT_EQ(PictureKindOf("b.Ico"), PictureKind::Icon);
    EXPECT_EQ(PictureKindOf("b.wmf"), PictureKind::Metafile);
    EXPECT_EQ(PictureKindOf("b.emf"), PictureKind::EnhancedMetafile);
    EXPECT_EQ(PictureKindOf("b.bmp"), PictureKind::Bitmap);
    EXPECT_EQ(PictureKindOf("b.gif"), PictureKind::Unsupported);
    EXPECT_EQ(PictureKindOf("C:\\x.jpg\\b"), PictureKind::Unsupported);
}

}  // namespace
}  // namespace qel::test
