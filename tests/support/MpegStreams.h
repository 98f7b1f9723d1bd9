#pragma once
// Byte builders for synthetic MPEG audio streams: frame headers, runs of
// frames, and first frames carrying a Xing or VBRI header.
#include <array>
#include <cstdint>
#include <string>

#include "support/TestFiles.h"

namespace qel::test {

struct FrameShape {
    uint8_t version = 3;  // 3 = MPEG 1, 2 = MPEG 2, 0 = MPEG 2.5
    uint8_t layer = 1;    // 1 = layer III
    uint8_t bitRateIndex = 9;
    uint8_t sampleRateIndex = 0;
    uint8_t mode = 1;  // joint stereo
    uint8_t modeExtension = 0;
    uint8_t emphasis = 0;
    bool crc = false;
    bool padded = false;
    bool privateBit = false;
    bool copyright = false;
    bool original = false;
};

std::array<uint8_t, 4> HeaderOf(const FrameShape& shape);

// `count` frames of `length` bytes, each a header followed by `fill` bytes.
Bytes Frames(const FrameShape& shape, size_t length, size_t count, uint8_t fill = 0x55);

// One frame of `length` bytes holding a Xing header at `offset` from its start.
Bytes XingFrame(const FrameShape& shape, size_t length, size_t offset, uint32_t frames, uint32_t bytes,
                const std::string& vendor, uint8_t scale = 0);
// The same for a VBRI header.
Bytes VbriFrame(const FrameShape& shape, size_t length, size_t offset, uint32_t frames, uint32_t bytes,
                uint8_t scale = 0);

}  // namespace qel::test
