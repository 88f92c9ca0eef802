#include "common/startup/card_choice.h"

#include <gtest/gtest.h>

#include <chrono>
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
         "no-trigger, trace); using the default card settings\nqm71: "
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

// The trace a user asks for with QM71_SIM=trace: one line per request, in the
// order sent, with the values that came back; row transfers are written out
// with the next request after a pause, or when the card is closed.
TEST(CardChoiceTest, TraceShowsEveryRequestInOrder) {
    ManualClock clock;
    std::ostringstream out;
    auto channel =
        MakeDriverChannel(clock, CameraKind::kLine, "sim", "fps=0,base=0x720,trace", out);
    ASSERT_TRUE(channel->Open());
    std::byte row[5000];
    const DriverRequest sent[] = {
        {SubCommand::QueryBase, 0, 0},      {SubCommand::SetParameter, kLinesParameter, 1},
        {SubCommand::TriggerControl, 0, 1}, {SubCommand::LineCount, 1, 0},
        {SubCommand::TriggerControl, 7, 0}, {SubCommand(0x77), 1, 2}};
    for (DriverRequest r : sent) channel->Command(r);
    channel->TransferLine({row, 1250, 0x720});
    channel->TransferLine({row, 1250, 0x720});
    DriverRequest r{SubCommand::LineCount, 1, 0};
    const auto shown = out.str().size();
    clock.Advance(std::chrono::milliseconds(50));
    channel->Command(r);
    const std::string trace = out.str().substr(out.str().find("trace)\n") + 7);
    EXPECT_EQ(trace,
              "sim: open\n"
              "sim: QueryBase 0 0 -> 1824 0\n"
              "sim: SetParameter 35040 1 -> 35040 1\n"
              "sim: TriggerControl 0 1 -> 0 1\n"
              "sim: LineCount 1 0 -> 1 0\n"
              "sim: TriggerControl 7 0 -> 7 0 failed\n"
              "sim: ? 119 1 2 -> 1 2 failed\n"
              "sim: LineRequest 1250 words base 1824\n"
              "sim: LineRequest 1250 words base 1824 failed\n"
              "sim: LineCount 1 0 -> 0 0\n");
    EXPECT_LT(shown, out.str().size() - 80) << "the row transfers waited";
    channel->TransferLine({row, 1250, 0x720});
    channel->Close();
    EXPECT_TRUE(out.str().ends_with("failed\nsim: close\n"));
}

}  // namespace
}  // namespace qm71
