#pragma once

#include <iosfwd>
#include <memory>

#include "platform/clock.h"
#include "sim/service/card_port_pair.h"

namespace qm71 {

// The card service and data port the sample program installs in the
// acquisition library, chosen by the environment as MakeDriverChannel chooses
// the driver: QM71_DEVICE sim (default) or none (service calls do nothing,
// reads give all ones), QM71_SIM options (fps, noise, trace: one line per
// service call). Says on `messages` which card is used.
std::unique_ptr<sim::CardPortPair> MakeCardService(Clock& clock);
std::unique_ptr<sim::CardPortPair> MakeCardService(Clock& clock, const char* device,
                                                   const char* simOptions, std::ostream& messages);

}  // namespace qm71
