#pragma once
// Multi-byte numbers in file bytes: little-endian (LE) and big-endian (BE)
// loads of 16, 24, 32 and 64 bits from a pointer to at least that many bytes.
#include <cstddef>
#include <cstdint>

namespace qel {

namespace byte_order {
// The first N bytes at p, most significant first.
template <size_t N>
constexpr uint64_t Big(const uint8_t* p) {
    uint64_t value = 0;
    for (size_t i = 0; i < N; ++i) value = value << 8 | p[i];
    return value;
}
// The first N bytes at p, least significant first.
template <size_t N>
constexpr uint64_t Little(const uint8_t* p) {
    uint64_t value = 0;
    for (size_t i = N; i-- > 0;) value = value << 8 | p[i];
    return value;
}
}  // namespace byte_order

constexpr uint16_t LoadLE16(const uint8_t* p) { return static_cast<uint16_t>(byte_order::Little<2>(p)); }
constexpr uint32_t LoadLE24(const uint8_t* p) { return static_cast<uint32_t>(byte_order::Little<3>(p)); }
constexpr uint32_t LoadLE32(const uint8_t* p) { return static_cast<uint32_t>(byte_order::Little<4>(p)); }
constexpr uint64_t LoadLE64(const uint8_t* p) { return byte_order::Little<8>(p); }

constexpr uint16_t LoadBE16(const uint8_t* p) { return static_cast<uint16_t>(byte_order::Big<2>(p)); }
constexpr uint32_t LoadBE24(const uint8_t* p) { return static_cast<uint32_t>(byte_order::Big<3>(p)); }
constexpr uint32_t LoadBE32(const uint8_t* p) { return static_cast<uint32_t>(byte_order::Big<4>(p)); }
constexpr uint64_t LoadBE64(const uint8_t* p) { return byte_order::Big<8>(p); }

}  // namespace qel
