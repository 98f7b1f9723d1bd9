#pragma once
// Reads at a position of an open file where bytes missing at the end of the
// file count as zero.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/BinaryFile.h"

namespace qel {

// Fills count bytes from position; what the file does not hold stays zero.
// Returns how many bytes really came.
inline size_t ReadZeroFilled(BinaryFile& file, int64_t position, void* buffer, size_t count) {
    const size_t got = file.Seek(position) ? file.Read(buffer, count) : 0;
    std::memset(static_cast<char*>(buffer) + got, 0, count - got);
    return got;
}

}  // namespace qel
