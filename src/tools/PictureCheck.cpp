#include "tools/PictureCheck.h"

#include <cstddef>
#include <set>

#include "readers/ByteOrder.h"

namespace qel::host {
namespace {

constexpr size_t kHeaderBytes = 54;     // file header and information header
constexpr size_t kPixelOffsetAt = 10;  // where the file header keeps the pixels' offset

}  // namespace

bool PictureHasContent(const std::vector<uint8_t>& bmp) {
    if (bmp.size() < kHeaderBytes || bmp[0] != 'B' || bmp[1] != 'M') return false;
    const uint32_t offset = LoadLE32(bmp.data() + kPixelOffsetAt);
    std::set<uint32_t> colours;
    for (size_t i = offset; i + 2 < bmp.size() && colours.size() < 2; i += 3)
        colours.insert(uint32_t(bmp[i]) | uint32_t(bmp[i + 1]) << 8 | uint32_t(bmp[i + 2]) << 16);
    return colours.size() >= 2;
}

}  // namespace qel::host
