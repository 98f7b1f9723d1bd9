#include "host/JpegStructure.h"

#include <cstring>

namespace qel {

namespace {

constexpr uint8_t kStartOfImage = 0xD8;
constexpr uint8_t kEndOfImage = 0xD9;
constexpr uint8_t kStartOfScan = 0xDA;
constexpr uint8_t kTemporary = 0x01;

bool IsRestart(uint8_t marker) { return marker >= 0xD0 && marker <= 0xD7; }

// Start-of-frame markers: C0 to CF except DHT (C4), JPG (C8) and DAC (CC).
bool IsStartOfFrame(uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Position of the first marker after entropy-coded data at position, or size
// when the data runs to the end: FF 00 is a stuffed byte and FF D0-D7 a
// restart, both part of the scan.
size_t EndOfScan(const uint8_t* data, size_t size, size_t position) {
    while (position < size) {
        const void* found = std::memchr(data + position, 0xFF, size - position);
        if (!found) return size;
        position = static_cast<size_t>(static_cast<const uint8_t*>(found) - data);
        if (position + 1 >= size) return size;
        const uint8_t next = data[position + 1];
        if (next != 0x00 && !IsRestart(next)) return position;
        position += 2;
    }
    return size;
}

}  // namespace

bool IsWholeJpeg(const uint8_t* data, size_t size) {
    if (data == nullptr || size < 4 || data[0] != 0xFF || data[1] != kStartOfImage) return false;
    bool frame = false;
    bool scan = false;
    size_t position = 2;
    while (position < size) {
        if (data[position] != 0xFF) return false;
        while (position < size && data[position] == 0xFF) ++position;  // fill bytes
        if (position >= size) return false;
        const uint8_t marker = data[position++];
        if (marker == kEndOfImage) return frame && scan;
        if (marker == kTemporary || IsRestart(marker)) continue;
        if (marker == 0x00 || marker == kStartOfImage || size - position < 2) return false;
        const size_t length = size_t(data[position]) << 8 | data[position + 1];
        if (length < 2 || length > size - position) return false;
        if (IsStartOfFrame(marker)) {
            if (length < 7) return false;
            const uint64_t height = uint64_t(data[position + 3]) << 8 | data[position + 4];
            const uint64_t width = uint64_t(data[position + 5]) << 8 | data[position + 6];
            if (width == 0 || height == 0 || width * height > kJpegPixelMax) return false;
            frame = true;
        }
        position += length;
        if (marker == kStartOfScan) {
            if (!frame) return false;
            scan = true;
            position = EndOfScan(data, size, position);
        }
    }
    return false;  // no end marker: the file was cut short
}

}  // namespace qel
