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
                                              const char* simOptions, std::ostream& messages,
                                              const SystemDriver& system) {
    const std::string_view name = ChosenDevice(device, messages, system);
    if (name == system.name) {
        // The real service would need a kernel driver that makes the int 60h
        // calls and the data port's `in` reads for the program: on NT both are
        // privileged, and the card's driver offers neither.
        messages << "qm71: the card service (int 60h) and its data port cannot be reached from "
                    "a program on this system; using the simulated card\n";
    } else if (name != "sim") {
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
