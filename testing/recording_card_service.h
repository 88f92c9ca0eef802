#pragma once

#include <cstdint>
#include <vector>

#include "platform/card_service.h"

namespace qm71::testing {

// Card service that answers nothing and keeps every call in order.
class RecordingCardService final : public CardService {
  public:
    struct ServiceCall {
        std::uint8_t subFunction;
        std::uint32_t cx;
        std::uint32_t dx;
        bool operator==(const ServiceCall&) const = default;
    };

    std::uint32_t Call(std::uint8_t subFunction, std::uint32_t cx, std::uint32_t dx) override {
        calls.push_back({subFunction, cx, dx});
        return dx;
    }

    std::vector<ServiceCall> calls;
};

}  // namespace qm71::testing
