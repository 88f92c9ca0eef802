#include "compose/card_service_choice.h"

#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>

#include "compose/card_choice.h"
#include "compose/service_trace.h"
#include "sim/service/simulated_card_service.h"

namespace qm71 {

std::unique_ptr<CardPortPair> MakeCardService(Clock& clock) {
    return MakeCardService(clock, std::getenv("QM71_DEVICE"), std::getenv("QM71_SIM"), std::cerr);
}

std::unique_ptr<CardPortPair> MakeCardService(Clock& clock, const char* device,
                                              const char* simOptions, std::ostream& messages) {
    const std::string_view name = ChosenDevice(device, messages);
    if (name != "sim") {
        messages << "qm71: no card (QM71_DEVICE=" << name << "): every frame reads as all ones\n";
        return std::make_unique<NoCardService>();
    }
    const sim::CardOptions options =
        ReadCardOptions(sim::AreaCameraOptions(), simOptions, messages);
    auto card = std::make_unique<sim::SimulatedCardService>(clock, options);
    if (!options.trace) return card;
    return std::make_unique<TracingCardService>(std::move(card), messages);
}

}  // namespace qm71
