#pragma once

#include <cstddef>
#include <cstdint>

namespace qm71 {

// Integers stored in byte buffers little-endian (bitmap headers, pixel words),
// whatever the host's byte order.
inline void StoreLe16(std::byte* at, std::uint16_t value) {
    at[0] = static_cast<std::byte>(value & 0xFF);
    at[1] = static_cast<std::byte>(value >> 8);
}

inline void StoreLe32(std::byte* at, std::uint32_t value) {
    StoreLe16(at, static_cast<std::uint16_t>(value & 0xFFFF));
    StoreLe16(at + 2, static_cast<std::uint16_t>(value >> 16));
}

inline std::uint16_t LoadLe16(const std::byte* at) {
    return static_cast<std::uint16_t>(std::to_integer<unsigned>(at[0]) |
                                      std::to_integer<unsigned>(at[1]) << 8);
}

inline std::uint32_t LoadLe32(const std::byte* at) {
    return std::uint32_t{LoadLe16(at)} | std::uint32_t{LoadLe16(at + 2)} << 16;
}

}  // namespace qm71
