#pragma once
// Reads at a position of an open file where bytes missing at the end of the
// file count as zero.
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

// A cursor over up to scratch.size() bytes of the file from position, seen in
// place where the file holds them in memory (see BinaryFile::View).
inline ByteCursor CursorAt(BinaryFile& file, int64_t position, std::span<uint8_t> scratch) {
    return ByteCursor(file.View(position, scratch));
}

}  // namespace qel
