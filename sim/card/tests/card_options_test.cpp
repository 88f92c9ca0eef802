#include "sim/card/card_options.h"

#include <gtest/gtest.h>

#include <sstream>

#include "sim/card/driver_channel_factory.h"
#include "sim/card/simulated_card.h"

namespace qm71::sim {
namespace {

TEST(CardOptionsTest, ReadsEveryKey) {
    CardOptions o;
    std::string error;
    ASSERT_TRUE(ParseCardOptions(
        " fps=7.5, base=0x720,download-error=3:2 ,stall-after-rows=100,no-trigger,", o, error))
        << error;
    EXPECT_DOUBLE_EQ(o.fps, 7.5);
    EXPECT_EQ(o.reportedBase, 0x720);
    EXPECT_EQ(o.downloadError, 3);
    EXPECT_EQ(o.downloadAttempts, 2);
    EXPECT_EQ(o.stallAfterRows, 100);
    EXPECT_TRUE(o.noTrigger);

    ASSERT_TRUE(ParseCardOptions("base=1824,fps=0,no-trigger=0", o, error)) << error;
    EXPECT_EQ(o.reportedBase, 0x720);
    EXPECT_EQ(o.fps, 0);
    EXPECT_FALSE(o.noTrigger);
    ASSERT_TRUE(ParseCardOptions("no-trigger=1", o, error));
    EXPECT_TRUE(o.noTrigger);

    o = LineCameraOptions();
    ASSERT_TRUE(ParseCardOptions("", o, error));
    ASSERT_TRUE(ParseCardOptions(" , ", o, error));
    EXPECT_EQ(o.rowBytes, 5000) << "empty text changes nothing";
    EXPECT_EQ(o.rowsPerFrame, 640);
    EXPECT_TRUE(o.lineCamera);
}

TEST(CardOptionsTest, RejectsBadTextNamingTheKeyAndKeepsTheOptions) {
    // Each text names its key before the '='.
    for (const std::string text :
         {"speed=3", "fps=-1", "fps=fast", "fps=15x", "fps", "fps=inf", "base=0x10000", "base=0x",
          "base=-5", "download-error=3", "download-error=3:256", "download-error=:2",
          "stall-after-rows=-1", "stall-after-rows=", "no-trigger=yes"}) {
        CardOptions o;
        std::string error;
        EXPECT_FALSE(ParseCardOptions("base=0x720," + text, o, error)) << text;
        EXPECT_NE(error.find(text.substr(0, text.find('='))), std::string::npos) << error;
        EXPECT_EQ(o.reportedBase, 0x320) << text << ": a failed parse must leave the options alone";
    }
}

TEST(DriverChannelFactoryTest, ChoosesTheCardAppliesSimOptionsAndSaysWhich) {
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
        auto channel = MakeDriverChannel(clock, LineCameraOptions(), c.device, c.sim, out);
        if (std::string_view(c.says).ends_with('\n'))
            EXPECT_EQ(out.str(), c.says);
        else
            EXPECT_NE(out.str().find(c.says), std::string::npos) << out.str();
        EXPECT_EQ(channel->Open(), c.fps >= 0);
        const auto* card = dynamic_cast<SimulatedCard*>(channel.get());
        ASSERT_EQ(card != nullptr, c.fps >= 0);
        if (!card) continue;
        EXPECT_EQ(card->Options().fps, c.fps);
        EXPECT_EQ(card->Options().reportedBase, c.base);
        EXPECT_EQ(card->Options().rowBytes, 5000) << "over the program's defaults";
    }
}

}  // namespace
}  // namespace qm71::sim
