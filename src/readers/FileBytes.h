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
    std::memset(buffer, 0, count);
    if (!file.Seek(position)) return 0;
    return file.Read(buffer, count);
}

}  // namespace qel
