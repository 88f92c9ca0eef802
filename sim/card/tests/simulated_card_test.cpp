#include "sim/card/simulated_card.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

namespace qm71::sim {
namespace {

using namespace std::chrono_literals;

TEST(CardOptionsTest, ReadsEveryKeyAllOrNothing) {
    CardOptions o = LineCameraOptions();
    std::string error;
    ASSERT_TRUE(ParseCardOptions(
        " fps=7.5, base=0x720,download-error=3:2 ,stall-after-rows=100,no-trigger,,", o, error));
    EXPECT_EQ(DescribeCardOptions(o),
              "simulated card (fps=7.5, base 0x720, download error 3 after 2 attempts, stalls "
              "after 100 rows, no trigger)");
    EXPECT_EQ(o.rowBytes, 5000) << "over the program's own geometry";
    for (const std::string text : {"speed=3", "fps=-1", "fps=15x", "base=0x10000",
                                   "download-error=3", "stall-after-rows=-1", "no-trigger=yes"}) {
        CardOptions kept;
        EXPECT_FALSE(ParseCardOptions("base=0x720," + text, kept, error)) << text;
        EXPECT_NE(error.find(text.substr(0, text.find('='))), std::string::npos) << error;
        EXPECT_EQ(kept.reportedBase, 0x320) << text;
    }
}

struct Card {
    explicit Card(CardOptions options) : card(clock, options) { card.Open(); }
    std::uint16_t Ask(SubCommand c, std::uint16_t v1 = 0, std::uint16_t v2 = 0) {
        DriverRequest r{c, v1, v2};
        EXPECT_TRUE(card.Command(r)) << static_cast<int>(c);
        return r.value1;
    }
    std::uint16_t Lines() { return Ask(SubCommand::LineCount); }
    bool Transfer(std::byte* dst, std::uint32_t words = 768) {
        return card.TransferLine(LineRequest{dst, words, 0x320});
    }
    ManualClock clock;
    SimulatedCard card;
};

TEST(SimulatedCardTest, FramesArriveOverTheirPeriodInPatternOrder) {
    Card c({.reportedBase = 0x720, .downloadError = 3, .downloadAttempts = 2});  // 15 fps
    EXPECT_EQ(c.Ask(SubCommand::QueryBase), 0x720);
    EXPECT_EQ(c.Ask(SubCommand::Download, 0x720), 0x0203);
    EXPECT_EQ(c.Lines(), 0) << "nothing before the card is armed";
    c.Ask(SubCommand::ArmFrame);
    c.clock.Advance(31250us);  // rows arrive during the first 62.5 ms of 66.7
    EXPECT_NEAR(c.Lines(), 1028, 1);
    c.clock.Advance(32ms);
    EXPECT_EQ(c.Lines(), 2056);
    c.Ask(SubCommand::BeginReadout);
    const TestPattern pattern(2056, 3072);
    std::vector<std::byte> row(3072), expected(3072);
    for (int y = 0; y < 2056; ++y) {
        ASSERT_TRUE(c.Transfer(row.data())) << y;
        pattern.Render(0, y, expected.data(), expected.size());
        ASSERT_EQ(row, expected) << y;
    }
    EXPECT_FALSE(c.Transfer(row.data())) << "a frame has 2056 rows";

    // A rising trigger edge starts the next frame at once: its bars have moved.
    for (int bits : {0, 1}) c.Ask(SubCommand::TriggerControl, 0, static_cast<std::uint16_t>(bits));
    EXPECT_EQ(c.Lines(), 0);
    c.clock.Advance(63ms);
    for (int y = 0; y <= 600; ++y) ASSERT_TRUE(c.Transfer(row.data()));
    pattern.Render(1, 600, expected.data(), expected.size());
    EXPECT_EQ(row, expected);
}

TEST(SimulatedCardTest, StallDeafTriggerAndOversizedRequestsGiveNoRows) {
    Card c({.fps = 0, .stallAfterRows = 100, .noTrigger = true});
    c.Ask(SubCommand::ArmFrame);
    std::vector<std::byte> buffer(4000, std::byte{0xAA});
    EXPECT_FALSE(c.Transfer(nullptr));
    EXPECT_FALSE(c.Transfer(buffer.data(), 769)) << "more than one row";
    EXPECT_FALSE(c.Transfer(buffer.data(), 0));
    ASSERT_TRUE(c.Transfer(buffer.data(), 10));
    EXPECT_EQ(buffer[40], std::byte{0xAA}) << "no more than asked";
    EXPECT_EQ(c.Lines(), 100);
    for (int i = 1; i < 100; ++i) ASSERT_TRUE(c.Transfer(buffer.data()));
    c.clock.Advance(10s);
    EXPECT_EQ(c.Lines(), 100);
    EXPECT_FALSE(c.Transfer(buffer.data()));
    for (int bits : {0, 2, 1})
        c.Ask(SubCommand::TriggerControl, 0, static_cast<std::uint16_t>(bits));
    EXPECT_EQ(c.Lines(), 100) << "the trigger started no frame";
}

}  // namespace
}  // namespace qm71::sim
