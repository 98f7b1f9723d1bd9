#pragma once
// Reads at a position of an open file where bytes missing at the end of the
// file count as zero.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "platform/BinaryFile.h"
#include "readers/ByteCursor.h"

namespace qel {

// Fills count bytes from position; what the file does not hold stays zero.
// Returns how many bytes really came.
inline size_t ReadZeroFilled(BinaryFile& file, int64_t position, void* buffer, size_t count) {
    const size_t got = file.Seek(position) ? file.Read(buffer, count) : 0;
    std::memset(static_cast<char*>(buffer) + got, 0, count - got);
    return got;
}

// scratch.size() bytes of the file from position, those past its end read as
// zero: seen in place where the file holds them all in memory, else read into
// scratch. held tells how many bytes the file held, -1 for a negative position.
inline std::span<const uint8_t> ViewZeroFilled(BinaryFile& file, int64_t position, std::span<uint8_t> scratch,
                                               int64_t& held) {
    if (position < 0) {
        held = -1;
        std::fill(scratch.begin(), scratch.end(), uint8_t{0});
        return scratch;
    }
    const auto view = file.View(position, scratch);
    held = static_cast<int64_t>(view.size());
    if (view.size() == scratch.size()) return view;
    if (view.data() != scratch.data()) std::memmove(scratch.data(), view.data(), view.size());
    std::fill(scratch.begin() + static_cast<ptrdiff_t>(view.size()), scratch.end(), uint8_t{0});
    return scratch;
}

// A cursor over up to scratch.size() bytes of the file from position, seen in
// place where the file holds them in memory (see BinaryFile::View).
inline ByteCursor CursorAt(BinaryFile& file, int64_t position, std::span<uint8_t> scratch) {
    return ByteCursor(file.View(position, scratch));
}

}  // namespace qel
