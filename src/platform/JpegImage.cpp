#include "platform/JpegImage.h"

#include <csetjmp>
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

namespace qel {

namespace {

// libjpeg reports a fatal error through error_exit, which must not return;
// it jumps back into Decode, which then gives up on the picture.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf escape;
};

void ErrorExit(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->escape, 1);
}

void IgnoreMessage(j_common_ptr) {}

// Only plain data lives in this frame, so leaving it by longjmp is safe; the
// pixel buffer is sized before the first jump target can be reached again.
bool Decode(const uint8_t* data, size_t size, RgbImage& image) {
    jpeg_decompress_struct info;
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = ErrorExit;
    errors.base.output_message = IgnoreMessage;
    if (setjmp(errors.escape)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, const_cast<unsigned char*>(data), static_cast<unsigned long>(size));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    const int64_t pixels = int64_t(info.output_width) * int64_t(info.output_height);
    if (info.output_components != 3 || pixels <= 0 || pixels > kJpegPixelMax) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    image.width = static_cast<int>(info.output_width);
    image.height = static_cast<int>(info.output_height);
    image.pixels.resize(static_cast<size_t>(pixels) * 3);
    const size_t stride = size_t(image.width) * 3;
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.pixels.data() + size_t(info.output_scanline) * stride;
        if (jpeg_read_scanlines(&info, &row, 1) != 1) break;
    }
    const bool complete = info.output_scanline == info.output_height;
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return complete;
}

}  // namespace

std::optional<RgbImage> DecodeJpeg(const uint8_t* data, size_t size) {
    if (data == nullptr || size == 0) return std::nullopt;
    RgbImage image;
    if (!Decode(data, size, image)) return std::nullopt;
    return image;
}

std::optional<RgbImage> DecodeJpegFile(const std::string& path, FileOpener& files) {
    std::unique_ptr<BinaryFile> file = files.OpenRead(path, ShareMode::AllowWriters);
    if (!file) return std::nullopt;
    const int64_t size = file->Size();
    if (size <= 0 || size > kJpegFileMax) return std::nullopt;
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (!ReadAt(*file, 0, bytes.data(), bytes.size())) return std::nullopt;
    return DecodeJpeg(bytes.data(), bytes.size());
}

}  // namespace qel
