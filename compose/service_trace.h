#pragma once

#include <memory>
#include <ostream>

#include "platform/card_service.h"

namespace qm71 {

// Passes everything on to the card behind it and writes one line per service
// call to `out`, with DX as it comes back (values decimal, the sub-function
// number in hex):
//
//   sim: service 34h 35040 1 -> 816
//
// Port reads are not written: a frame is thousands of them.
class TracingCardService final : public CardPortPair {
  public:
    TracingCardService(std::unique_ptr<CardPortPair> inner, std::ostream& out);

    std::uint32_t Call(ServiceFunction function, std::uint32_t cx, std::uint32_t dx) override;
    std::uint32_t In32(std::uint16_t port) override { return inner_->In32(port); }
    void In32Block(std::uint16_t port, std::span<std::uint32_t> values) override {
        inner_->In32Block(port, values);
    }
    void In32Rows(std::uint16_t port, std::byte* first, std::size_t rowWords, std::size_t rows,
                  std::ptrdiff_t stride) override {
        inner_->In32Rows(port, first, rowWords, rows, stride);
    }

  private:
    std::unique_ptr<CardPortPair> inner_;
    std::ostream& out_;
};

}  // namespace qm71
