#include "support/MpegStreams.h"

#include <algorithm>
#include <cstddef>

namespace qel::test {
namespace {

void Put(Bytes& out, size_t at, const Bytes& what) {
    std::copy(what.begin(), what.end(), out.begin() + static_cast<ptrdiff_t>(at));
}

Bytes BE32(uint32_t v) {
    Bytes b;
    AppendBE32(b, v);
    return b;
}

}  // namespace

std::array<uint8_t, 4> HeaderOf(const FrameShape& s) {
    return {0xFF,
            static_cast<uint8_t>(0xE0 | (s.version & 3) << 3 | (s.layer & 3) << 1 | (s.crc ? 0 : 1)),
            static_cast<uint8_t>((s.bitRateIndex & 15) << 4 | (s.sampleRateIndex & 3) << 2 |
                                 (s.padded ? 2 : 0) | (s.privateBit ? 1 : 0)),
            static_cast<uint8_t>((s.mode & 3) << 6 | (s.modeExtension & 3) << 4 | (s.copyright ? 8 : 0) |
                                 (s.original ? 4 : 0) | (s.emphasis & 3))};
}

Bytes Frames(const FrameShape& shape, size_t length, size_t count, uint8_t fill) {
    Bytes frame(length, fill);
    auto header = HeaderOf(shape);
    std::copy(header.begin(), header.end(), frame.begin());
    Bytes out;
    for (size_t i = 0; i < count; ++i) out.insert(out.end(), frame.begin(), frame.end());
    return out;
}

Bytes XingFrame(const FrameShape& shape, size_t length, size_t offset, uint32_t frames, uint32_t bytes,
                const std::string& vendor, uint8_t scale) {
    Bytes out = Frames(shape, length, 1, 0);
    Put(out, offset, {'X', 'i', 'n', 'g'});
    Put(out, offset + 4, BE32(0));  // flags: the counts are read whatever they say
    Put(out, offset + 8, BE32(frames));
    Put(out, offset + 12, BE32(bytes));
    out[offset + 119] = scale;
    Put(out, offset + 120, Bytes(vendor.begin(), vendor.end()));
    return out;
}

Bytes VbriFrame(const FrameShape& shape, size_t length, size_t offset, uint32_t frames, uint32_t bytes,
                uint8_t scale) {
    Bytes out = Frames(shape, length, 1, 0);
    Put(out, offset, {'V', 'B', 'R', 'I'});
    out[offset + 9] = scale;
    Put(out, offset + 10, BE32(bytes));
    Put(out, offset + 14, BE32(frames));
    return out;
}

}  // namespace qel::test
