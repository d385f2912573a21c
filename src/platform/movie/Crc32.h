#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// CRC-32 (IEEE 802.3, as zlib computes it), for the checksums of our own file headers and
// settings bytes.
namespace Crc32 {
namespace detail {
constexpr std::array<uint32_t, 256> makeTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[i] = c;
    }
    return table;
}
inline constexpr std::array<uint32_t, 256> kTable = makeTable();
} // namespace detail

inline uint32_t compute(const void* data, size_t size, uint32_t crc = 0) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    crc = ~crc;
    for (size_t i = 0; i < size; ++i)
        crc = detail::kTable[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}
} // namespace Crc32
