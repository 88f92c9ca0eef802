#include "compose/card_service_choice.h"

#include <gtest/gtest.h>

#include <sstream>

#include "sim/service/simulated_card_service.h"

namespace qm71 {
namespace {

TEST(CardServiceChoiceTest, NoCardReadsAllOnesTraceWritesCallsAndTheDriverIsSimulated) {
    ManualClock clock;
    std::ostringstream says;
    auto none = MakeCardService(clock, "none", "fps=0", says);
    EXPECT_EQ(says.str(), "qm71: no card (QM71_DEVICE=none): every frame reads as all ones\n");
    none->Call(ServiceFunction::SetMode, kMode8Bit, 1);
    EXPECT_EQ(none->In32(sim::SimulatedCardService::kDataPort), 0xFFFFFFFFu);

    says.str("");
    auto traced = MakeCardService(clock, nullptr, "fps=0,trace,noise=3", says, SystemDriver{});
    EXPECT_EQ(says.str(), "qm71: simulated card (fps=0, base 0x320, trace, noise 3)\n");
    EXPECT_EQ(traced->Call(ServiceFunction::SetMode, kMode8Bit, 1),
              sim::SimulatedCardService::kDataPort);
    EXPECT_NE(says.str().find("sim: service 34h 35040 1 -> 816\n"), std::string::npos);

    // The system's driver offers no card service: choosing it, by default
    // here, runs the simulated one and says why.
    says.str("");
    auto service = MakeCardService(clock, nullptr, "fps=0", says, SystemDriver{"drv"});
    EXPECT_EQ(says.str(),
              "qm71: the card service (int 60h) and its data port cannot be reached from a "
              "program on this system; using the simulated card\n"
              "qm71: simulated card (fps=0, base 0x320)\n");
    EXPECT_EQ(service->Call(ServiceFunction::SetMode, kMode8Bit, 1),
              sim::SimulatedCardService::kDataPort);
}

}  // namespace
}  // namespace qm71
