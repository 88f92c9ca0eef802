#include "sim/card/simulated_card.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <vector>

namespace qm71::sim {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::byte>;

TEST(CardOptionsTest, ReadsEveryKeyAllOrNothing) {
    CardOptions o = LineCameraOptions();
    std::string error;
    ASSERT_TRUE(ParseCardOptions(
        " fps=7.5, base=0x720,download-error=3:2 ,stall-after-rows=100,no-trigger,,", o, error));
    EXPECT_EQ(DescribeCardOptions(o),
              "simulated card (fps=7.5, base 0x720, download error 3 after 2 attempts, stalls "
              "after 100 rows, no trigger)");
    EXPECT_EQ(o.rowBytes, 5000) << "over the program's own geometry";
    ASSERT_TRUE(ParseCardOptions("base=1824,fps=0,no-trigger=0", o, error)) << error;
    EXPECT_EQ(o.fps, 0);
    EXPECT_FALSE(o.noTrigger);

    for (const std::string text :
         {"speed=3", "fps=-1", "fps=15x", "fps", "fps=inf", "base=0x10000", "base=-5",
          "download-error=3", "download-error=3:256", "stall-after-rows=-1", "no-trigger=yes"}) {
        CardOptions kept;
        EXPECT_FALSE(ParseCardOptions("base=0x720," + text, kept, error)) << text;
        EXPECT_NE(error.find(text.substr(0, text.find('='))), std::string::npos) << error;
        EXPECT_EQ(kept.reportedBase, 0x320) << text;
    }
}

class SimulatedCardTest : public ::testing::Test {
  protected:
    void Make(CardOptions options) {
        card_.emplace(clock_, options);
        ASSERT_TRUE(card_->Open());
    }
    std::uint16_t Ask(SubCommand c, std::uint16_t v1 = 0, std::uint16_t v2 = 0) {
        DriverRequest r{c, v1, v2};
        EXPECT_TRUE(card_->Command(r)) << static_cast<int>(c);
        return r.value1;
    }
    std::uint16_t Lines() { return Ask(SubCommand::LineCount); }
    bool Transfer(std::byte* dst, std::uint32_t words) {
        return card_->TransferLine(LineRequest{dst, words, 0x320});
    }

    ManualClock clock_;
    std::optional<SimulatedCard> card_;
};

TEST_F(SimulatedCardTest, AnswersStartUpRequestsWithInjectedFaults) {
    CardOptions injected;
    injected.reportedBase = 0x720;
    injected.downloadError = 3;
    injected.downloadAttempts = 2;
    for (const auto& [options, base, download] :
         {std::tuple{CardOptions{}, 0x320, 0x0100}, std::tuple{injected, 0x720, 0x0203}}) {
        Make(options);
        EXPECT_EQ(Ask(SubCommand::QueryBase), base);
        EXPECT_EQ(Ask(SubCommand::Download, static_cast<std::uint16_t>(base)), download);
    }
    Ask(SubCommand::BeginTable, 1024, 0);
    for (std::uint16_t j = 0; j < 1024; j += 2) Ask(SubCommand::TableEntries, j, j);
    for (const SubCommand refused :
         {SubCommand::TableEntries, SubCommand::SetParameter, static_cast<SubCommand>(0x77)}) {
        DriverRequest r{refused, 0x1234, 0x5678};  // beyond the table, unknown parameter, unknown
        EXPECT_FALSE(card_->Command(r));
        EXPECT_EQ(r.value1, 0x1234);
    }
    Ask(SubCommand::CloseCard);
    card_->Close();
    DriverRequest r{SubCommand::QueryBase, 5, 6};
    EXPECT_FALSE(card_->Command(r)) << "a closed card answers nothing";
}

TEST_F(SimulatedCardTest, RowsArriveOverTheFramePeriodInPatternOrder) {
    Make({});  // 15 fps: a frame every 66.67 ms, rows during the first 62.5 ms
    EXPECT_EQ(Lines(), 0) << "nothing before the card is armed";
    Ask(SubCommand::ArmFrame);
    EXPECT_EQ(Lines(), 0);
    clock_.Advance(31250us);
    EXPECT_NEAR(Lines(), 1028, 1);
    clock_.Advance(32ms);
    EXPECT_EQ(Lines(), 2056);
    Ask(SubCommand::BeginReadout);
    const TestPattern pattern(2056, 3072);
    Bytes row(3072), expected(3072);
    for (int y = 0; y < 2056; ++y) {
        ASSERT_TRUE(Transfer(row.data(), 768)) << y;
        pattern.Render(0, y, expected.data(), expected.size());
        ASSERT_EQ(row, expected) << y;
    }
    EXPECT_FALSE(Transfer(row.data(), 768)) << "a frame has 2056 rows";

    // Armed in the middle of a frame, the card waits for the next frame start.
    clock_.Advance(10ms);  // now 73.25 ms; frame 2 starts at 133.3 ms
    Ask(SubCommand::ArmFrame);
    clock_.Advance(60ms);
    EXPECT_EQ(Lines(), 0);
    clock_.Advance(1ms);
    EXPECT_GT(Lines(), 0);
    // A rising trigger edge starts a frame at once, the third one: its bars have moved.
    for (int bits : {0, 1}) Ask(SubCommand::TriggerControl, 0, static_cast<std::uint16_t>(bits));
    EXPECT_EQ(Lines(), 0);
    clock_.Advance(63ms);
    for (int y = 0; y <= 600; ++y) ASSERT_TRUE(Transfer(row.data(), 768));
    pattern.Render(2, 600, expected.data(), expected.size());
    EXPECT_EQ(row, expected);
    pattern.Render(0, 600, expected.data(), expected.size());
    EXPECT_NE(row, expected);
}

TEST_F(SimulatedCardTest, InjectedStallAndDeafTriggerStopTheRows) {
    CardOptions o;
    o.fps = 0;
    o.stallAfterRows = 100;
    o.noTrigger = true;
    Make(o);
    Ask(SubCommand::ArmFrame);
    Bytes row(3072);
    EXPECT_EQ(Lines(), 100);
    for (int i = 0; i < 100; ++i) ASSERT_TRUE(Transfer(row.data(), 768));
    clock_.Advance(10s);
    EXPECT_EQ(Lines(), 100);
    EXPECT_FALSE(Transfer(row.data(), 768));
    for (int bits : {0, 0, 2, 1})
        Ask(SubCommand::TriggerControl, 0, static_cast<std::uint16_t>(bits));
    EXPECT_EQ(Lines(), 100) << "the trigger started no frame";
}

TEST_F(SimulatedCardTest, NeverWritesMoreThanAsked) {
    CardOptions o;
    o.fps = 0;
    Make(o);
    Ask(SubCommand::ArmFrame);
    Bytes buffer(4000, std::byte{0xAA});
    const auto untouchedFrom = [&](std::size_t from) {
        return std::all_of(buffer.begin() + static_cast<std::ptrdiff_t>(from), buffer.end(),
                           [](std::byte b) { return b == std::byte{0xAA}; });
    };
    EXPECT_FALSE(Transfer(nullptr, 768));
    EXPECT_FALSE(Transfer(buffer.data(), 769)) << "more than one row";
    EXPECT_FALSE(Transfer(buffer.data(), 0));
    ASSERT_TRUE(Transfer(buffer.data(), 10));
    EXPECT_TRUE(untouchedFrom(40));
    // The pattern itself, in geometries too small for its bands and digits.
    for (const auto& [rows, width, asked] : {std::tuple{1, 1, 2}, {3, 2, 3}, {8, 16, 17}}) {
        const TestPattern p(rows, width);
        for (int y = 0; y < rows; ++y) {
            buffer.assign(static_cast<std::size_t>(width) + 1, std::byte{0xAA});
            p.Render(99999, y, buffer.data(), static_cast<std::size_t>(asked));
            EXPECT_TRUE(untouchedFrom(static_cast<std::size_t>(width))) << rows << "x" << width;
        }
    }
}

}  // namespace
}  // namespace qm71::sim
