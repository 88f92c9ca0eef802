#pragma once

#include <iosfwd>
#include <memory>

#include "platform/card_service.h"
#include "platform/clock.h"
#include "platform/system_driver.h"

namespace qm71 {

// A PC without the card: the service does nothing and every read gives all
// ones, as a port with nothing behind it does.
class NoCardService final : public CardPortPair {
  public:
    std::uint32_t Call(ServiceFunction, std::uint32_t, std::uint32_t dx) override { return dx; }
    std::uint32_t In32(std::uint16_t) override { return 0xFFFFFFFFu; }
    void In32Block(std::uint16_t, std::span<std::uint32_t> values) override {
        for (auto& v : values) v = 0xFFFFFFFFu;
    }
};

// The card service and data port the sample program installs in the
// acquisition library, chosen by the environment as MakeDriverChannel chooses
// the driver: QM71_DEVICE sim or none (service calls do nothing, reads give
// all ones), QM71_SIM options (fps, noise, trace: one line per service call).
// The system's driver offers no card service, so naming it (or leaving it the
// default) runs the simulated one and says so. Says on `messages` which card
// is used.
std::unique_ptr<CardPortPair> MakeCardService(Clock& clock);
std::unique_ptr<CardPortPair> MakeCardService(Clock& clock, const char* device,
                                              const char* simOptions, std::ostream& messages,
                                              const SystemDriver& system = ThisSystemsDriver());

}  // namespace qm71
