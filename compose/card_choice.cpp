#include "compose/card_choice.h"

#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>

#include "compose/request_trace.h"
#include "sim/card/card_options.h"
#include "sim/card/simulated_card.h"

namespace qm71 {

std::unique_ptr<DriverChannel> MakeDriverChannel(Clock& clock, CameraKind camera) {
    return MakeDriverChannel(clock, camera, std::getenv("QM71_DEVICE"), std::getenv("QM71_SIM"),
                             std::cerr);
}

std::string_view ChosenDevice(const char* device, std::ostream& messages,
                              const SystemDriver& system) {
    const std::string_view unset = system.name.empty() ? "sim" : system.name;
    const std::string_view name = device != nullptr && *device != '\0' ? device : unset;
    if (name != "sim" && name != "none" && name != system.name) {
        messages << "qm71: unknown QM71_DEVICE \"" << name << "\" (use ";
        if (!system.name.empty()) messages << system.name << ", ";
        messages << "sim or none); running without a card\n";
    }
    return name;
}

sim::CardOptions ReadCardOptions(sim::CardOptions defaults, const char* simOptions,
                                 std::ostream& messages) {
    if (simOptions != nullptr) {
        std::string error;
        if (!sim::ParseCardOptions(simOptions, defaults, error))
            messages << "qm71: QM71_SIM: " << error << "; using the default card settings\n";
    }
    messages << "qm71: " << sim::DescribeCardOptions(defaults) << "\n";
    return defaults;
}

std::unique_ptr<DriverChannel> MakeDriverChannel(Clock& clock, CameraKind camera,
                                                 const char* device, const char* simOptions,
                                                 std::ostream& messages,
                                                 const SystemDriver& system) {
    const std::string_view name = ChosenDevice(device, messages, system);
    if (name == system.name) {
        if (auto driver = system.make(messages)) return driver;
    }
    if (name != "sim") {
        messages << "qm71: no card driver (QM71_DEVICE=" << name << ")\n";
        return std::make_unique<NoDriverChannel>();
    }
    const sim::CardOptions options = ReadCardOptions(
        camera == CameraKind::kLine ? sim::LineCameraOptions() : sim::AreaCameraOptions(),
        simOptions, messages);
    auto card = std::make_unique<sim::SimulatedCard>(clock, options);
    if (!options.trace) return card;
    return std::make_unique<TracingChannel>(std::move(card), messages, clock);
}

}  // namespace qm71
