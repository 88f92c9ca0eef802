#include "compose/card_choice.h"

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
         "no-trigger, trace, noise); using the default card settings\nqm71: "
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
