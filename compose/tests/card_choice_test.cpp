#include "compose/card_choice.h"

#include <gtest/gtest.h>

#include <sstream>

#include "testing/fakes.h"

namespace qm71 {
namespace {

// A system with a driver of its own, and one whose driver this build cannot use.
std::unique_ptr<DriverChannel> OwnDriver(std::ostream& says) {
    says << "qm71: own driver\n";
    return std::make_unique<testing::ScriptedCard>();
}
std::unique_ptr<DriverChannel> RefusedDriver(std::ostream& says) {
    says << "qm71: refused\n";
    return nullptr;
}
constexpr SystemDriver kNoDriver{}, kOwn{"drv", OwnDriver}, kRefusing{"drv", RefusedDriver};

TEST(CardChoiceTest, SaysWhichCardAndFallsBackOnBadSettings) {
    ManualClock clock;
    const struct {
        SystemDriver system;
        const char* device;
        const char* sim;
        const char* says;
        bool opens;
    } cases[] = {
        {kNoDriver, nullptr, nullptr, "simulated card (fps=15, base 0x320)\n", true},
        {kNoDriver, "sim", "base=0x720,fps=0", "simulated card (fps=0, base 0x720)\n", true},
        {kNoDriver, "sim", "fps=0,bogus=1",
         "\"bogus\" (known: fps, base, download-error, stall-after-rows, "
         "no-trigger, trace, noise); using the default card settings\nqm71: "
         "simulated card (fps=15, base 0x320)\n",
         true},
        {kNoDriver, "none", "fps=1", "qm71: no card driver (QM71_DEVICE=none)\n", false},
        {kNoDriver, "pci0", nullptr, "\"pci0\" (use sim or none); running without a card\n", false},
        {kOwn, "", "fps=1", "qm71: own driver\n", true},
        {kOwn, "sim", nullptr, "simulated card (fps=15, base 0x320)\n", true},
        {kOwn, "pci0", nullptr, "\"pci0\" (use drv, sim or none); running without a card\n", false},
        {kRefusing, nullptr, nullptr, "qm71: refused\nqm71: no card driver (QM71_DEVICE=drv)\n",
         false},
    };
    for (const auto& [system, device, sim, says, opens] : cases) {
        std::ostringstream out;
        const auto channel = MakeDriverChannel(clock, CameraKind::kArea, device, sim, out, system);
        EXPECT_TRUE(out.str().find(says) != std::string::npos) << out.str();
        EXPECT_EQ(channel->Open(), opens) << says;
    }
}

// QM71_SIM=trace: one line per request in the order sent, with the values that
// came back; row transfers wait in the buffer until a rare request or Close.
TEST(CardChoiceTest, TraceShowsEveryRequestInOrder) {
    ManualClock clock;
    std::ostringstream out;
    auto card = MakeDriverChannel(clock, CameraKind::kLine, "sim", "fps=0,base=0x720,trace", out);
    card->Open();
    for (DriverRequest r : {DriverRequest{SubCommand::QueryBase},
                            {SubCommand::SetParameter, kLinesParameter, 1},
                            {SubCommand::TriggerControl, 0, 1},
                            {SubCommand::LineCount, 1},
                            {SubCommand(0x77), 1, 2}})
        card->Command(r);
    std::byte row[5000];
    for (int i = 0; i < 2; ++i) card->TransferLine({row, 1250, 0x720});
    EXPECT_EQ(out.str().find("LineRequest"), std::string::npos);
    card->Close();
    EXPECT_TRUE(
        out.str().ends_with("trace)\nsim: open\n"
                            "sim: QueryBase 0 0 -> 1824 0\n"
                            "sim: SetParameter 35040 1 -> 35040 1\n"
                            "sim: TriggerControl 0 1 -> 0 1\n"
                            "sim: LineCount 1 0 -> 1 0\n"
                            "sim: ? 119 1 2 -> 1 2 failed\n"
                            "sim: LineRequest 1250 words base 1824\n"
                            "sim: LineRequest 1250 words base 1824 failed\n"
                            "sim: close\n"))
        << out.str();
}

}  // namespace
}  // namespace qm71
