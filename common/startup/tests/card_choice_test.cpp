#include "common/startup/card_choice.h"

#include <gtest/gtest.h>

#include <sstream>

#include "sim/card/simulated_card.h"

namespace qm71 {
namespace {

TEST(CardChoiceTest, ChoosesTheCardAppliesSimOptionsAndSaysWhich) {
    ManualClock clock;
    const struct {
        const char *device, *sim, *says;
        double fps;  // < 0: no card
        int base;
    } cases[] = {
        {nullptr, nullptr, "qm71: simulated card (fps=15, base 0x320)\n", 15, 0x320},
        {"sim", "base=0x720,fps=0", "qm71: simulated card (fps=0, base 0x720)\n", 0, 0x720},
        {"sim", "fps=0,bogus=1", "bogus", 15, 0x320},  // bad QM71_SIM: all defaults
        {"none", "fps=1", "qm71: no card driver (QM71_DEVICE=none)\n", -1, 0},
        {"pci0", nullptr, "unknown QM71_DEVICE \"pci0\"", -1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        std::ostringstream out;
        auto channel = MakeDriverChannel(clock, CameraKind::kLine, c.device, c.sim, out);
        if (std::string_view(c.says).ends_with('\n'))
            EXPECT_EQ(out.str(), c.says);
        else
            EXPECT_NE(out.str().find(c.says), std::string::npos) << out.str();
        EXPECT_EQ(channel->Open(), c.fps >= 0);
        const auto* card = dynamic_cast<sim::SimulatedCard*>(channel.get());
        ASSERT_EQ(card != nullptr, c.fps >= 0);
        if (!card) continue;
        EXPECT_EQ(card->Options().fps, c.fps);
        EXPECT_EQ(card->Options().reportedBase, c.base);
        EXPECT_EQ(card->Options().rowBytes, 5000) << "over the program's defaults";
    }
}

}  // namespace
}  // namespace qm71
