#pragma once
// A check of a JPEG file's marker structure before the system's picture
// support decodes it: only whole pictures of a sane size replace the
// background, so a truncated or foreign file keeps the old one.
#include <cstddef>
#include <cstdint>

namespace qel {

// Pictures with more pixels than this are refused rather than decoded.
constexpr uint64_t kJpegPixelMax = 40'000'000;

// True when data starts a JPEG, declares a frame of 1 to kJpegPixelMax
// pixels, holds at least one scan and reaches its end marker; every segment
// length is checked against the bytes present.
bool IsWholeJpeg(const uint8_t* data, size_t size);

}  // namespace qel
