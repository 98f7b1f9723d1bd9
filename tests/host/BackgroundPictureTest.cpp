// JPEG backgrounds: decoding good pictures, refusing damaged ones, and the
// window keeping its old picture when a new one cannot be used.
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include "host/FormFixture.h"
#include "platform/JpegImage.h"

namespace qel::test {
namespace {

// A width x height JPEG whose pixels are a red-to-green ramp.
Bytes EncodeJpeg(int width, int height) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(size_t(width) * 3);
    while (info.next_scanline < info.image_height) {
        for (int x = 0; x < width; ++x) {
            row[3 * x] = uint8_t(255 * x / std::max(1, width - 1));
            row[3 * x + 1] = uint8_t(255 - row[3 * x]);
            row[3 * x + 2] = 0;
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes out(buffer, buffer + size);
    free(buffer);
    return out;
}

TEST(JpegImageTest, DecodesSizeAndColours) {
    const Bytes jpeg = EncodeJpeg(40, 8);
    auto image = DecodeJpeg(jpeg.data(), jpeg.size());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 40);
    EXPECT_EQ(image->height, 8);
    ASSERT_EQ(image->pixels.size(), 40u * 8 * 3);
    EXPECT_GT(image->pixels[0 * 3 + 1], 200) << "left edge green";
    EXPECT_GT(image->pixels[39 * 3], 200) << "right edge red";
}

TEST(JpegImageTest, DamagedOrForeignDataGivesNothing) {
    Bytes jpeg = EncodeJpeg(16, 16);
    const Bytes truncated(jpeg.begin(), jpeg.begin() + jpeg.size() / 2);
    EXPECT_FALSE(DecodeJpeg(truncated.data(), truncated.size()));
    const Bytes header(jpeg.begin(), jpeg.begin() + 20);
    EXPECT_FALSE(DecodeJpeg(header.data(), header.size()));
    const Bytes text{'B', 'M', 0, 0, 1, 2, 3};
    EXPECT_FALSE(DecodeJpeg(text.data(), text.size()));
    EXPECT_FALSE(DecodeJpeg(nullptr, 0));
    EXPECT_FALSE(DecodeJpegFile(ScratchFolder() + "no such picture.jpg"));
}

TEST(JpegImageTest, PictureKindsByExtension) {
    EXPECT_EQ(PictureKindOf("C:\\a\\b.JPEG"), PictureKind::Jpeg);
    EXPECT_EQ(PictureKindOf("b.jpg"), PictureKind::Jpeg);
    EXPECT_EQ(PictureKindOf("b.Ico"), PictureKind::Icon);
    EXPECT_EQ(PictureKindOf("b.wmf"), PictureKind::Metafile);
    EXPECT_EQ(PictureKindOf("b.emf"), PictureKind::EnhancedMetafile);
    EXPECT_EQ(PictureKindOf("b.bmp"), PictureKind::Bitmap);
    EXPECT_EQ(PictureKindOf("b.gif"), PictureKind::Unsupported);
    EXPECT_EQ(PictureKindOf("C:\\x.jpg\\b"), PictureKind::Unsupported);
}

class BackgroundTest : public FormFixture {};

TEST_F(BackgroundTest, JpegFromTheSlotReplacesThePictureOnlyWhenItDecodes) {
    Create();
    ScratchFile good("bg-good.jpg", EncodeJpeg(30, 20));
    Bytes broken = EncodeJpeg(30, 20);
    broken.resize(broken.size() / 3);
    ScratchFile bad("bg-bad.jpeg", broken);

    Plugin().file = good.path();
    Call("setfon");
    EXPECT_EQ(window.picture, "jpeg 30x20");
    Plugin().file = bad.path();
    Call("setfon");
    EXPECT_EQ(window.picture, "jpeg 30x20");
}

}  // namespace
}  // namespace qel::test
