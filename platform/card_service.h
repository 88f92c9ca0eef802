#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace qm71 {

// Sub-functions of the card's resident service (BX of the service call).
enum class ServiceFunction : std::uint8_t {
    ResetCard = 0x00,       // geometry, mode and the active table back to their start
    SetGeometry = 0x32,     // CX = width, DX = height (low 16 bits each)
    PrepareFrame = 0x33,    // CX = DX = 0
    SetMode = 0x34,         // CX = mode word, DX = 1; answers the data port in DX
    StartFrame = 0x35,      // DX keeps the data port
    NextFrame = 0x36,       // between two frames of an averaging run; DX keeps the data port
    OpenTable = 0x43,       // CX = kLookupTableValues, DX = table number
    StoreTablePair = 0x44,  // CX, DX = the next two values of the open table
    ActivateTable = 0x45,   // CX = table number
};

// Mode words of SetMode: the card streams four 8-bit or two 16-bit pixels per
// 32-bit read.
inline constexpr std::uint32_t kMode8Bit = 0x88E0;
inline constexpr std::uint32_t kMode16Bit = 0x8862;

// The card holds this many lookup tables of this many values each, loaded as
// pairs.
inline constexpr int kLookupTables = 5;
inline constexpr int kLookupTableValues = 1024;

// The card's resident service: a sub-function number with two 32-bit
// parameters (CX and DX). DX comes back changed where the sub-function
// answers in it (the data port after SetMode); every other value is the caller's.
class CardService {
  public:
    virtual ~CardService() = default;
    virtual std::uint32_t Call(ServiceFunction function, std::uint32_t cx, std::uint32_t dx) = 0;
};

// 32-bit input from an I/O port of the card: one value, or a block of values
// into consecutive memory at ascending addresses.
class PortInput {
  public:
    virtual ~PortInput() = default;
    virtual std::uint32_t In32(std::uint16_t port) = 0;
    virtual void In32Block(std::uint16_t port, std::span<std::uint32_t> values) = 0;

    // `rows` blocks of `rowWords` values in a row, block r stored at `first +
    // r * stride` bytes (a negative stride fills a bottom-up picture), in
    // memory order of the values, whatever the alignment. The same as one
    // In32Block per block; a port that can serve a whole frame in one go
    // overrides it.
    virtual void In32Rows(std::uint16_t port, std::byte* first, std::size_t rowWords,
                          std::size_t rows, std::ptrdiff_t stride) {
        std::array<std::uint32_t, 512> chunk;
        for (std::size_t r = 0; r < rows; ++r) {
            std::byte* out = first + std::ptrdiff_t(r) * stride;
            for (std::size_t done = 0; done < rowWords;) {
                const std::size_t n = std::min(rowWords - done, chunk.size());
                In32Block(port, std::span(chunk.data(), n));
                std::memcpy(out + done * sizeof(std::uint32_t), chunk.data(),
                            n * sizeof(std::uint32_t));
                done += n;
            }
        }
    }
};

// The card's resident service and its data port, served by one object so that
// both see the same card.
class CardPortPair : public CardService, public PortInput {};

}  // namespace qm71
