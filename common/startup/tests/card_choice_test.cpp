#include "common/startup/card_choice.h"

#include <gtest/gtest.h>

#include <sstream>

namespace qm71 {
namespace {

TEST(CardChoiceTest, ChoosesTheCardAppliesSimOptionsAndSaysWhich) {
    ManualClock clock;
    const struct {
        const char *device, *sim, *says;
        int base;        // what QueryBase answers; 0: no card
        int rowsAtOnce;  // LineCount right after ArmFrame: 2056 only at fps=0
    } cases[] = {
        {nullptr, nullptr, "qm71: simulated card (fps=15, base 0x320)\n", 0x320, 0},
        {"sim", "base=0x720,fps=0", "qm71: simulated card (fps=0, base 0x720)\n", 0x720, 2056},
        {"sim", "fps=0,bogus=1", "bogus", 0x320, 0},  // bad QM71_SIM: all defaults
        {"none", "fps=1", "qm71: no card driver (QM71_DEVICE=none)\n", 0, 0},
        {"pci0", nullptr, "unknown QM71_DEVICE \"pci0\"", 0, 0},
    };
    for (const auto& c : cases) {
        std::ostringstream out;
        auto channel = MakeDriverChannel(clock, CameraKind::kArea, c.device, c.sim, out);
        EXPECT_NE(out.str().find(c.says), std::string::npos) << out.str();
        ASSERT_EQ(channel->Open(), c.base != 0) << c.says;
        if (c.base == 0) continue;
        DriverRequest query{SubCommand::QueryBase}, arm{SubCommand::ArmFrame},
            count{SubCommand::LineCount};
        ASSERT_TRUE(channel->Command(query) && channel->Command(arm) && channel->Command(count));
        EXPECT_EQ(query.value1, c.base) << c.says;
        EXPECT_EQ(count.value1, c.rowsAtOnce) << c.says;
    }
}

}  // namespace
}  // namespace qm71
