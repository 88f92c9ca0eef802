#include "common/startup/card_choice.h"

#include <gtest/gtest.h>

#include <sstream>

namespace qm71 {
namespace {

TEST(CardChoiceTest, SaysWhichCardAndFallsBackOnBadSettings) {
    ManualClock clock;
    const char* const cases[][3] = {
        {nullptr, nullptr, "simulated card (fps=15, base 0x320)\n"},
        {"sim", "base=0x720,fps=0", "simulated card (fps=0, base 0x720)\n"},
        {"sim", "fps=0,bogus=1",
         "\"bogus\" (known: fps, base, download-error, stall-after-rows, "
         "no-trigger); using the default card settings\nqm71: "
         "simulated card (fps=15, base 0x320)\n"},
        {"none", "fps=1", "qm71: no card driver (QM71_DEVICE=none)\n"},
        {"pci0", nullptr, "\"pci0\" (use sim or none); running without a card\n"},
    };
    for (const auto& [device, sim, says] : cases) {
        std::ostringstream out;
        const auto channel = MakeDriverChannel(clock, CameraKind::kArea, device, sim, out);
        EXPECT_TRUE(out.str().find(says) != std::string::npos) << out.str();
        EXPECT_EQ(channel->Open(), out.str().find("simulated") != std::string::npos) << says;
    }
}

}  // namespace
}  // namespace qm71
