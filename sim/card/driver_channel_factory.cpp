#include "sim/card/driver_channel_factory.h"

#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>

#include "sim/card/simulated_card.h"

namespace qm71::sim {

std::unique_ptr<DriverChannel> MakeDriverChannel(Clock& clock, CardOptions defaults) {
    return MakeDriverChannel(clock, defaults, std::getenv("QM71_DEVICE"), std::getenv("QM71_SIM"),
                             std::cerr);
}

std::unique_ptr<DriverChannel> MakeDriverChannel(Clock& clock, CardOptions defaults,
                                                 const char* device, const char* simOptions,
                                                 std::ostream& messages) {
    const std::string_view name = device != nullptr && *device != '\0' ? device : "sim";
    if (name != "sim") {
        if (name != "none")
            messages << "qm71: unknown QM71_DEVICE \"" << name
                     << "\" (use sim or none); running without a card\n";
        messages << "qm71: no card driver (QM71_DEVICE=" << name << ")\n";
        return std::make_unique<NoDriverChannel>();
    }
    CardOptions options = defaults;
    if (simOptions != nullptr) {
        std::string error;
        if (!ParseCardOptions(simOptions, options, error))
            messages << "qm71: QM71_SIM: " << error << "; using the default card settings\n";
    }
    messages << "qm71: " << DescribeCardOptions(options) << "\n";
    return std::make_unique<SimulatedCard>(clock, options);
}

}  // namespace qm71::sim
