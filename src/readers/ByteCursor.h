#pragma once
// Reading a block of bytes in place: a bounded cursor and a bit window.
//
// Two kinds of read, because formats say two things about a field that the
// block does not hold:
// - U8(), LE32(), ...: the missing bytes read as zero (the block stands for
//   the start of a zero-filled area);
// - TryU8(v), TryLE32(v), ...: the read fails, returns false and moves
//   nothing (the field is not there).
// The cursor never moves past the block's end.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

#include "readers/ByteOrder.h"

namespace qel {

class ByteCursor {
public:
    ByteCursor() = default;
    explicit ByteCursor(std::span<const uint8_t> bytes, size_t position = 0)
        : bytes_(bytes), position_(std::min(position, bytes.size())) {}

    size_t Position() const { return position_; }
    size_t Size() const { return bytes_.size(); }
    size_t Remaining() const { return bytes_.size() - position_; }
    bool AtEnd() const { return position_ == bytes_.size(); }
    // The bytes from the position to the end.
    std::span<const uint8_t> Rest() const { return bytes_.subspan(position_); }

    // Both stop at the end.
    void Seek(size_t position) { position_ = std::min(position, bytes_.size()); }
    void Skip(uint64_t count) { position_ += static_cast<size_t>(std::min<uint64_t>(count, Remaining())); }

    // Zero past the end.
    uint8_t U8() { return static_cast<uint8_t>(Zero<1, kBig>()); }
    uint16_t LE16() { return static_cast<uint16_t>(Zero<2, kLittle>()); }
    uint32_t LE24() { return static_cast<uint32_t>(Zero<3, kLittle>()); }
    uint32_t LE32() { return static_cast<uint32_t>(Zero<4, kLittle>()); }
    uint64_t LE64() { return Zero<8, kLittle>(); }
    uint16_t BE16() { return static_cast<uint16_t>(Zero<2, kBig>()); }
    uint32_t BE24() { return static_cast<uint32_t>(Zero<3, kBig>()); }
    uint32_t BE32() { return static_cast<uint32_t>(Zero<4, kBig>()); }
    uint64_t BE64() { return Zero<8, kBig>(); }
    // Copies count bytes, zeros for those past the end; returns how many came from the block.
    size_t CopyTo(void* out, size_t count) {
        const size_t got = std::min(count, Remaining());
        if (got > 0) std::memcpy(out, bytes_.data() + position_, got);
        std::memset(static_cast<uint8_t*>(out) + got, 0, count - got);
        position_ += got;
        return got;
    }
    // Up to count bytes in place (fewer at the end).
    std::span<const uint8_t> Take(uint64_t count) {
        const auto taken = bytes_.subspan(position_, static_cast<size_t>(std::min<uint64_t>(count, Remaining())));
        position_ += taken.size();
        return taken;
    }
    std::string_view TakeText(uint64_t count) {
        const auto taken = Take(count);
        return {reinterpret_cast<const char*>(taken.data()), taken.size()};
    }

    // Failing past the end.
    bool TryU8(uint8_t& v) { return Try<1, kBig>(v); }
    bool TryLE16(uint16_t& v) { return Try<2, kLittle>(v); }
    bool TryLE24(uint32_t& v) { return Try<3, kLittle>(v); }
    bool TryLE32(uint32_t& v) { return Try<4, kLittle>(v); }
    bool TryLE64(uint64_t& v) { return Try<8, kLittle>(v); }
    bool TryBE16(uint16_t& v) { return Try<2, kBig>(v); }
    bool TryBE24(uint32_t& v) { return Try<3, kBig>(v); }
    bool TryBE32(uint32_t& v) { return Try<4, kBig>(v); }
    bool TryBE64(uint64_t& v) { return Try<8, kBig>(v); }
    // Exactly count bytes in place.
    bool TryTake(uint64_t count, std::span<const uint8_t>& out) {
        if (count > Remaining()) return false;
        out = Take(count);
        return true;
    }

private:
    static constexpr bool kBig = true;
    static constexpr bool kLittle = false;
    template <size_t N, bool Big>
    static uint64_t Load(const uint8_t* p) {
        return Big ? byte_order::Big<N>(p) : byte_order::Little<N>(p);
    }
    template <size_t N, bool Big>
    uint64_t Zero() {
        if (Remaining() >= N) {
            const uint64_t value = Load<N, Big>(bytes_.data() + position_);
            position_ += N;
            return value;
        }
        uint8_t padded[N] = {};
        CopyTo(padded, N);
        return Load<N, Big>(padded);
    }
    template <size_t N, bool Big, class T>
    bool Try(T& value) {
        if (Remaining() < N) return false;
        value = static_cast<T>(Load<N, Big>(bytes_.data() + position_));
        position_ += N;
        return true;
    }

    std::span<const uint8_t> bytes_;
    size_t position_ = 0;
};

// Bits of a block numbered from the most significant bit of its first byte;
// bits past the block's end read as zero.
class BitWindow {
public:
    explicit BitWindow(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    // count bits (1 to 32) from bit position, as an unsigned number.
    uint32_t Bits(uint64_t position, unsigned count) const {
        const uint64_t first = position / 8;
        uint8_t word[8] = {};
        if (first < bytes_.size())
            std::memcpy(word, bytes_.data() + first, std::min<uint64_t>(5, bytes_.size() - first));
        const uint64_t bits = byte_order::Big<5>(word) << (24 + position % 8);  // wanted bits at the top
        return static_cast<uint32_t>(bits >> (64 - count));
    }

private:
    std::span<const uint8_t> bytes_;
};

}  // namespace qel
