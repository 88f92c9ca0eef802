#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/card_service.h"

namespace qm71::testing {

// The card's resident service and its data port in memory: records every
// service call, answers SetMode with `dataPort` in DX, and streams words from
// `word(frame, index)`, where the frame counts NextFrame calls and the
// index runs on across all reads of that frame.
class ScriptedCardService final : public CardPortPair {
  public:
    struct ServiceCall {
        ServiceFunction function;
        std::uint32_t cx;
        std::uint32_t dx;
        bool operator==(const ServiceCall&) const = default;
    };
    static constexpr std::uint16_t dataPort = 0x2F0;

    std::vector<ServiceCall> calls;
    std::function<std::uint32_t(std::size_t frame, std::size_t index)> word =
        [](std::size_t, std::size_t index) { return static_cast<std::uint32_t>(index); };
    std::size_t frame = 0;
    std::size_t position = 0;
    std::size_t wrongPortReads = 0;

    std::uint32_t Call(ServiceFunction function, std::uint32_t cx, std::uint32_t dx) override {
        calls.push_back({function, cx, dx});
        if (function == ServiceFunction::SetMode) return dataPort;
        if (function == ServiceFunction::NextFrame) {
            ++frame;
            position = 0;
        }
        return dx;
    }
    std::uint32_t In32(std::uint16_t port) override {
        wrongPortReads += port != dataPort;
        return word(frame, position++);
    }
    void In32Block(std::uint16_t port, std::span<std::uint32_t> values) override {
        for (auto& v : values) v = In32(port);
    }
};

}  // namespace qm71::testing
