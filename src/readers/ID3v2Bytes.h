#pragma once
// The bytes an ID3v2 tag's frames are read from. A tag may be stored
// unsynchronised: a zero byte put behind every 0xFF that could be taken for
// an audio frame's sync (and behind a final 0xFF), which a reader drops.
#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/BinaryFile.h"

namespace qel {

// The dropping rule over a run of bytes, one at a time.
class ResyncFilter {
public:
    bool Keeps(uint8_t byte) {
        const bool dropped = afterFF_ && byte == 0;
        afterFF_ = !dropped && byte == 0xFF;
        return !dropped;
    }

private:
    bool afterFF_ = false;
};

// Drops the zero byte behind every 0xFF of bytes[0..count); returns how many
// bytes remain (at the start of the same buffer).
size_t Resynchronise(uint8_t* bytes, size_t count);

// The frame area of a tag from start to end in the file, read at positions
// counted from the file's start. Plain, it is the file's own bytes (a read
// may run past end, as frames are read in their stored size). Unsynchronised
// as a whole (versions 2.2 and 2.3), it is those bytes resynchronised, read
// forward only and never past end: positions count the resynchronised bytes.
class ID3v2Bytes {
public:
    ID3v2Bytes(BinaryFile& file, int64_t start, int64_t end, bool unsynchronised)
        : file_(file), end_(end), unsynchronised_(unsynchronised), physical_(start), logical_(start) {}

    // Exactly count bytes at position; false when fewer are there, or, when
    // unsynchronised, for a position behind one already read.
    bool Read(int64_t position, void* out, size_t count);
    // True while position lies before the end of the area.
    bool Holds(int64_t position);

private:
    bool NextByte(uint8_t& byte);
    bool SkipTo(int64_t position);

    BinaryFile& file_;
    int64_t end_;
    bool unsynchronised_;
    // The resynchronising walk: the next file position to load, the position
    // of the next byte it gives, and the loaded chunk.
    int64_t physical_;
    int64_t logical_;
    ResyncFilter filter_;
    std::array<uint8_t, 4096> chunk_{};
    size_t chunkSize_ = 0;
    size_t chunkAt_ = 0;
};

}  // namespace qel
