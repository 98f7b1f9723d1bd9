#pragma once
// The identifiers of the ASF (Windows Media) objects the WMA analyser reads.
// Each object starts with a 16-byte GUID and a 64-bit little-endian size that
// counts those 24 bytes.
#include <array>
#include <cstddef>
#include <cstdint>

namespace qel::asf {

using Guid = std::array<uint8_t, 16>;

namespace detail {
constexpr uint8_t Hex(char c) {
    return static_cast<uint8_t>(c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10);
}
}  // namespace detail

// A GUID in its written form ("75B22630-668E-11CF-A6D9-00AA0062CE6C") as the
// 16 bytes a file stores: the first three groups little-endian, the last two
// as written.
constexpr Guid MakeGuid(const char (&text)[37]) {
    auto byteAt = [&](size_t at) { return static_cast<uint8_t>(detail::Hex(text[at]) << 4 | detail::Hex(text[at + 1])); };
    constexpr size_t kOrder[16] = {6, 4, 2, 0, 11, 9, 16, 14, 19, 21, 24, 26, 28, 30, 32, 34};
    Guid guid{};
    for (size_t i = 0; i < guid.size(); ++i) guid[i] = byteAt(kOrder[i]);
    return guid;
}

constexpr size_t kObjectHeaderSize = 24;  // GUID and size
constexpr size_t kHeaderObjectSize = 30;  // and the object count and two reserved bytes

constexpr Guid kHeaderObject = MakeGuid("75B22630-668E-11CF-A6D9-00AA0062CE6C");
constexpr Guid kDataObject = MakeGuid("75B22636-668E-11CF-A6D9-00AA0062CE6C");
constexpr Guid kFileProperties = MakeGuid("8CABDCA1-A947-11CF-8EE4-00C00C205365");
constexpr Guid kStreamProperties = MakeGuid("B7DC0791-A9B7-11CF-8EE6-00C00C205365");
constexpr Guid kContentDescription = MakeGuid("75B22633-668E-11CF-A6D9-00AA0062CE6C");
constexpr Guid kExtendedContentDescription = MakeGuid("D2D0A440-E307-11D2-97F0-00A0C95EA850");
constexpr Guid kAudioMedia = MakeGuid("F8699E40-5B4D-11CF-A8FD-00805F5C442B");  // a stream's type

// Value types of the extended content descriptors.
enum ValueType : uint16_t { kUnicode = 0, kByteArray = 1, kBool = 2, kDword = 3, kQword = 4, kWord = 5 };

}  // namespace qel::asf
