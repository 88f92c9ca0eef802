#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace qm71 {

// The card's resident service: a sub-function number with two 32-bit
// parameters (CX and DX). DX comes back changed where the sub-function
// answers in it (the data port after 34h); every other value is the caller's.
class CardService {
  public:
    virtual ~CardService() = default;
    virtual std::uint32_t Call(std::uint8_t subFunction, std::uint32_t cx, std::uint32_t dx) = 0;
};

// 32-bit input from an I/O port of the card: one value, or a block of values
// into consecutive memory at ascending addresses.
class PortInput {
  public:
    virtual ~PortInput() = default;
    virtual std::uint32_t In32(std::uint16_t port) = 0;
    virtual void In32Block(std::uint16_t port, std::span<std::uint32_t> values) = 0;
};

}  // namespace qm71
