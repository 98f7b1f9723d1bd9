#include "readers/ID3v2Bytes.h"

#include <algorithm>

namespace qel {

size_t Resynchronise(uint8_t* bytes, size_t count) {
    size_t kept = 0;
    ResyncFilter filter;
    for (size_t i = 0; i < count; ++i)
        if (filter.Keeps(bytes[i])) bytes[kept++] = bytes[i];
    return kept;
}

bool ID3v2Bytes::NextByte(uint8_t& byte) {
    for (;;) {
        if (chunkAt_ == chunkSize_) {
            if (physical_ >= end_) return false;
            const auto want = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(chunk_.size()), end_ - physical_));
            chunkSize_ = file_.Seek(physical_) ? file_.Read(chunk_.data(), want) : 0;
            chunkAt_ = 0;
            if (chunkSize_ == 0) return false;
            physical_ += static_cast<int64_t>(chunkSize_);
        }
        byte = chunk_[chunkAt_++];
        if (filter_.Keeps(byte)) break;
    }
    ++logical_;
    return true;
}

bool ID3v2Bytes::SkipTo(int64_t position) {
    uint8_t byte = 0;
    while (logical_ < position)
        if (!NextByte(byte)) return false;
    return logical_ == position;
}

bool ID3v2Bytes::Read(int64_t position, void* out, size_t count) {
    if (!unsynchronised_) return ReadAt(file_, position, out, count);
    if (!SkipTo(position)) return false;
    auto* bytes = static_cast<uint8_t*>(out);
    for (size_t i = 0; i < count; ++i)
        if (!NextByte(bytes[i])) return false;
    return true;
}

bool ID3v2Bytes::Holds(int64_t position) {
    if (!unsynchronised_) return position < end_;
    return SkipTo(position) && (chunkAt_ < chunkSize_ || physical_ < end_);
}

}  // namespace qel
