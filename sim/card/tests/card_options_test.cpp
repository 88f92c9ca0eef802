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
}

TEST(CardOptionsTest, EmptyTextChangesNothing) {
    CardOptions o = LineCameraOptions();
    std::string error;
    ASSERT_TRUE(ParseCardOptions("", o, error));
    ASSERT_TRUE(ParseCardOptions(" , ", o, error));
    EXPECT_EQ(o.rowBytes, 5000);
    EXPECT_EQ(o.rowsPerFrame, 640);
    EXPECT_TRUE(o.lineCamera);
}

TEST(CardOptionsTest, RejectsBadTextNamingTheKeyAndKeepsTheOptions) {
    const struct {
        const char* text;
        const char* named;
    } cases[] = {
        {"speed=3", "speed"},
        {"fps=-1", "fps"},
        {"fps=fast", "fps"},
        {"fps=15x", "fps"},
        {"fps", "fps"},
        {"fps=inf", "fps"},
        {"base=0x10000", "base"},
        {"base=0x", "base"},
        {"base=-5", "base"},
        {"download-error=3", "download-error"},
        {"download-error=3:256", "download-error"},
        {"download-error=:2", "download-error"},
        {"stall-after-rows=-1", "stall-after-rows"},
        {"stall-after-rows=", "stall-after-rows"},
        {"no-trigger=yes", "no-trigger"},
    };
    for (const auto& c : cases) {
        CardOptions o;
        std::string error;
        EXPECT_FALSE(ParseCardOptions(std::string("base=0x720,") + c.text, o, error)) << c.text;
        EXPECT_NE(error.find(c.named), std::string::npos) << c.text << ": " << error;
        EXPECT_EQ(o.reportedBase, 0x320) << "a failed parse must leave the options alone";
    }
}

TEST(DriverChannelFactoryTest, ChoosesTheCardAndSaysWhich) {
    ManualClock clock;
    std::ostringstream out;
    auto sim = MakeDriverChannel(clock, {}, nullptr, nullptr, out);
    EXPECT_EQ(out.str(), "qm71: simulated card (fps=15, base 0x320)\n");
    ASSERT_NE(dynamic_cast<SimulatedCard*>(sim.get()), nullptr);
    EXPECT_TRUE(sim->Open());

    out.str("");
    auto none = MakeDriverChannel(clock, {}, "none", "fps=1", out);
    EXPECT_EQ(out.str(), "qm71: no card driver (QM71_DEVICE=none)\n");
    EXPECT_FALSE(none->Open());

    out.str("");
    auto odd = MakeDriverChannel(clock, {}, "pci0", nullptr, out);
    EXPECT_NE(out.str().find("unknown QM71_DEVICE \"pci0\""), std::string::npos) << out.str();
    EXPECT_FALSE(odd->Open());
}

TEST(DriverChannelFactoryTest, AppliesSimOptionsOverTheProgramsDefaults) {
    ManualClock clock;
    std::ostringstream out;
    auto channel = MakeDriverChannel(clock, LineCameraOptions(), "sim", "base=0x720,fps=0", out);
    const auto& card = dynamic_cast<SimulatedCard&>(*channel);
    EXPECT_EQ(card.Options().reportedBase, 0x720);
    EXPECT_EQ(card.Options().rowBytes, 5000);
    EXPECT_EQ(out.str(), "qm71: simulated card (fps=0, base 0x720)\n");

    out.str("");
    auto fallback = MakeDriverChannel(clock, LineCameraOptions(), "sim", "fps=0,bogus=1", out);
    const auto& plain = dynamic_cast<SimulatedCard&>(*fallback);
    EXPECT_EQ(plain.Options().fps, 15) << "a bad QM71_SIM falls back to all defaults";
    EXPECT_EQ(plain.Options().rowBytes, 5000);
    EXPECT_NE(out.str().find("bogus"), std::string::npos) << out.str();
}

}  // namespace
}  // namespace qm71::sim
