#pragma once
// JPEG pictures decoded with libjpeg into plain RGB pixels.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/BinaryFile.h"

namespace qel {

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // rows top down, 3 bytes per pixel: red, green, blue
};

// Files and pictures larger than these are refused rather than decoded.
constexpr int64_t kJpegFileMax = 64 * 1024 * 1024;
constexpr int64_t kJpegPixelMax = 40'000'000;

// The picture in a JPEG file; nothing when the file cannot be read, is not a
// JPEG, is damaged or is too large.
std::optional<RgbImage> DecodeJpegFile(const std::string& path, FileOpener& files = SystemFiles());
std::optional<RgbImage> DecodeJpeg(const uint8_t* data, size_t size);

}  // namespace qel
