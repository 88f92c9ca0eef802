#pragma once

#include "platform/card_service.h"

namespace qm71::sim {

// The card's resident service and its data port, served by one object so that
// both see the same card.
class CardPortPair : public CardService, public PortInput {};

// A PC without the card: the service does nothing and every read gives all
// ones, as a port with nothing behind it does.
class NoCardService final : public CardPortPair {
  public:
    std::uint32_t Call(std::uint8_t, std::uint32_t, std::uint32_t dx) override { return dx; }
    std::uint32_t In32(std::uint16_t) override { return 0xFFFFFFFFu; }
    void In32Block(std::uint16_t, std::span<std::uint32_t> values) override {
        for (auto& v : values) v = 0xFFFFFFFFu;
    }
};

}  // namespace qm71::sim
