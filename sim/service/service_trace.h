#pragma once

#include <memory>
#include <ostream>

#include "sim/service/card_port_pair.h"

namespace qm71::sim {

// Passes everything on to the card behind it and writes one line per service
// call to `out`, with DX as it comes back (values decimal, the sub-function
// in hex as the card's documentation numbers them):
//
//   sim: service 34h 35040 1 -> 816
//
// Port reads are not written: a frame is thousands of them.
class TracingCardService final : public CardPortPair {
  public:
    TracingCardService(std::unique_ptr<CardPortPair> inner, std::ostream& out);

    std::uint32_t Call(std::uint8_t subFunction, std::uint32_t cx, std::uint32_t dx) override;
    std::uint32_t In32(std::uint16_t port) override { return inner_->In32(port); }
    void In32Block(std::uint16_t port, std::span<std::uint32_t> values) override {
        inner_->In32Block(port, values);
    }

  private:
    std::unique_ptr<CardPortPair> inner_;
    std::ostream& out_;
};

}  // namespace qm71::sim
