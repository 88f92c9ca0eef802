#include "sim/card/simulated_card.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <vector>

#include "common/driver.h"

namespace qm71::sim {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::byte>;

CardOptions Instant(CardOptions o = {}) {
    o.fps = 0;
    return o;
}

class SimulatedCardTest : public ::testing::Test {
  protected:
    void Make(CardOptions options) {
        card_.emplace(clock_, options);
        driver_.emplace(*card_);
        ASSERT_TRUE(driver_->Open());
    }
    std::uint16_t Ask(SubCommand c, std::uint16_t v1 = 0, std::uint16_t v2 = 0) {
        EXPECT_TRUE(driver_->DriverCommand(c, v1, v2)) << static_cast<int>(c);
        return v1;
    }
    std::uint16_t Lines(std::uint16_t preset = 0) { return Ask(SubCommand::LineCount, preset); }
    void Edges(std::initializer_list<int> bits) {
        for (int b : bits) Ask(SubCommand::TriggerControl, 0, static_cast<std::uint16_t>(b));
    }
    bool Transfer(std::byte* dst, std::uint32_t words) {
        driver_->Line().destination = dst;
        driver_->Line().count = words;
        return driver_->TransferLine();
    }
    // Polls LineCount until it exceeds `row`, letting 1 ms pass per empty poll.
    bool WaitForRow(long long row) {
        for (int polls = 0; polls < 100000; ++polls, clock_.Sleep(1ms))
            if (Lines() > row) return true;
        return false;
    }
    // The viewer's frame read: rows into a bottom-up picture, first row last.
    Bytes ReadAreaFrame() {
        Bytes image(2056u * 3072);
        Ask(SubCommand::BeginReadout);
        for (unsigned row = 0; row < 2056 && WaitForRow(row); ++row)
            EXPECT_TRUE(Transfer(image.data() + (2055 - row) * 3072, 768));
        return image;
    }
    // Whether the `rowBytes` at `stored` are row `row` of pattern frame `frame`.
    bool IsPatternRow(const std::byte* stored, std::uint32_t frame, int row) {
        Bytes expected(static_cast<std::size_t>(card_->Options().rowBytes));
        card_->Pattern().Render(frame, row, expected.data(), expected.size());
        return std::equal(expected.begin(), expected.end(), stored);
    }

    ManualClock clock_;
    std::optional<SimulatedCard> card_;
    std::optional<Driver> driver_;
};

TEST_F(SimulatedCardTest, AnswersStartUpRequestsAndKeepsTheTable) {
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
    for (std::uint16_t j = 0; j < 1024; j += 2)
        Ask(SubCommand::TableEntries, j, static_cast<std::uint16_t>(j + 1));
    std::uint16_t a = 7, b = 8;
    EXPECT_FALSE(driver_->DriverCommand(SubCommand::TableEntries, a, b)) << "beyond 1024";
    Ask(SubCommand::Commit);
    ASSERT_EQ(card_->Table().size(), 1024u);
    EXPECT_EQ(card_->Table()[1023], 1023);

    std::uint16_t v1 = 0x1234, v2 = 0x5678;
    EXPECT_FALSE(driver_->DriverCommand(static_cast<SubCommand>(0x77), v1, v2));
    EXPECT_FALSE(driver_->DriverCommand(SubCommand::SetParameter, v1, v2)) << "unknown parameter";
    EXPECT_EQ(v1, 0x1234);
    EXPECT_EQ(v2, 0x5678);

    driver_->CloseGrabber();
    DriverRequest request{SubCommand::QueryBase, 5, 6};
    EXPECT_FALSE(card_->Command(request)) << "a closed card answers nothing";
    EXPECT_EQ(request.value1, 5);
    Bytes row(3072);
    EXPECT_FALSE(card_->TransferLine(LineRequest{row.data(), 768, 0x320}));
}

TEST_F(SimulatedCardTest, RowsArriveOverTheFramePeriodOrAllAtOnceAtZeroFps) {
    Make({});  // 15 fps: a frame every 66.67 ms, rows during the first 62.5 ms
    EXPECT_EQ(Lines(), 0) << "nothing before the card is armed";
    Ask(SubCommand::ArmFrame);
    for (auto [step, rows] :
         {std::pair{0us, 0}, {31250us, 1028}, {31000us, 2047}, {1000us, 2056}, {1000000us, 2056}}) {
        clock_.Advance(step);
        EXPECT_NEAR(Lines(), rows, rows == 2047 || rows == 1028 ? 1 : 0) << clock_.Now().count();
    }
    // Armed in the middle of a frame, the card waits for the next frame start.
    clock_.Advance(9500us);  // now 1072.5 ms; frame 17 starts at 1133.3 ms
    Ask(SubCommand::ArmFrame);
    clock_.Advance(60ms);
    EXPECT_EQ(Lines(), 0);
    clock_.Advance(1ms);
    EXPECT_GT(Lines(), 0);
    EXPECT_LT(Lines(), 100);

    Make(Instant());
    Ask(SubCommand::ArmFrame);
    EXPECT_EQ(Lines(), 2056);
}

TEST_F(SimulatedCardTest, ViewerReadsWholeFramesThatChange) {
    Make({});
    Ask(SubCommand::ArmFrame);
    const Bytes first = ReadAreaFrame();
    EXPECT_EQ(card_->RowsTransferred(), 2056);
    for (int row : {0, 100, 600, 1100, 1300, 1600, 2055})
        EXPECT_TRUE(
            IsPatternRow(first.data() + (2055u - static_cast<unsigned>(row)) * 3072, 0, row))
            << row;

    Ask(SubCommand::ArmFrame);
    const Bytes second = ReadAreaFrame();
    EXPECT_EQ(card_->RowsTransferred(), 2 * 2056);
    EXPECT_EQ(card_->CurrentFrameNumber(), 1u);
    EXPECT_NE(first, second);
    EXPECT_LT(clock_.Now(), 200ms) << "the viewer keeps up with every frame";
}

TEST_F(SimulatedCardTest, StallStopsTheRowCount) {
    CardOptions o = Instant();
    o.stallAfterRows = 100;
    Make(o);
    Ask(SubCommand::ArmFrame);
    Ask(SubCommand::BeginReadout);
    Bytes row(3072);
    EXPECT_EQ(Lines(), 100);
    for (int i = 0; i < 100; ++i) ASSERT_TRUE(Transfer(row.data(), 768));
    clock_.Advance(10s);
    EXPECT_EQ(Lines(), 100);
    EXPECT_FALSE(Transfer(row.data(), 768));
    Ask(SubCommand::ArmFrame);
    EXPECT_EQ(Lines(), 0);
}

TEST_F(SimulatedCardTest, SoftwareTriggerStartsAnAreaFrameAtOnceUnlessIgnored) {
    Make({});
    clock_.Advance(20ms);  // between frame starts
    Edges({0, 0, 2, 1});
    EXPECT_EQ(Lines(), 0);
    clock_.Advance(63ms);
    EXPECT_EQ(Lines(), 2056);
    const auto frame = card_->CurrentFrameNumber();
    Edges({1});  // still high: no edge, no new frame
    EXPECT_EQ(Lines(), 2056);
    EXPECT_EQ(card_->CurrentFrameNumber(), frame);
    Edges({0, 1});
    EXPECT_EQ(Lines(), 0) << "a new frame started";

    CardOptions line = LineCameraOptions(), area = Instant();
    line.noTrigger = area.noTrigger = true;
    for (const CardOptions& o : {line, area}) {
        Make(o);
        Ask(SubCommand::SetParameter, kLinesParameter, 1);
        Edges({0, 0, 2, 1});
        EXPECT_EQ(Lines(1), 0) << "line camera " << o.lineCamera;
    }
}

TEST_F(SimulatedCardTest, TriggeredLineModeGivesOneLinePerEdge) {
    Make(LineCameraOptions());
    Ask(SubCommand::SetParameter, kLinesParameter, 1);
    Ask(SubCommand::Commit);
    Bytes image(640u * 5000);
    for (unsigned line = 0; line < 641; ++line) {
        Edges({0, 1});
        ASSERT_EQ(Lines(1), 1) << line;
        Ask(SubCommand::BeginReadout);
        ASSERT_TRUE(Transfer(image.data() + (line % 640) * 5000, 1250));
        ASSERT_EQ(Lines(1), 0);
    }
    // Line k of image 0 is picture row 639 - k (the demo stores line 0 at the bottom);
    // line 640 is the first line of image 1.
    for (int k : {1, 200, 400, 639})
        EXPECT_TRUE(IsPatternRow(image.data() + static_cast<unsigned>(k) * 5000, 0, 639 - k)) << k;
    EXPECT_TRUE(IsPatternRow(image.data(), 1, 639));

    EXPECT_FALSE(Transfer(image.data(), 1250)) << "no line without a trigger";
    Edges({0, 1, 0, 1});
    EXPECT_EQ(Lines(1), 2);
    Ask(SubCommand::SetParameter, kLinesParameter, 640);
    EXPECT_EQ(Lines(1), 0) << "switching to free run drops captured lines";
}

TEST_F(SimulatedCardTest, FreeRunningLineImageUntilCloseCard) {
    Make(Instant(LineCameraOptions()));
    Ask(SubCommand::SetParameter, kLinesParameter, 640);
    Ask(SubCommand::ArmFrame);
    EXPECT_EQ(Lines(1), 640);
    Ask(SubCommand::BeginReadout);
    Bytes image(640u * 5000);
    for (unsigned line = 0; line < 640; ++line)
        ASSERT_TRUE(Transfer(image.data() + line * 5000, 1250));
    EXPECT_FALSE(Transfer(image.data(), 1250)) << "only 640 lines in an image";
    EXPECT_TRUE(IsPatternRow(image.data(), 0, 639)) << "the first line is the bottom row";
    Ask(SubCommand::ArmFrame);
    EXPECT_EQ(Lines(1), 640);
    Ask(SubCommand::CloseCard);
    EXPECT_EQ(Lines(1), 0);
}

TEST_F(SimulatedCardTest, NeverWritesMoreThanAsked) {
    Make(Instant());
    Ask(SubCommand::ArmFrame);
    Bytes buffer(4000, std::byte{0xAA});
    const auto untouched = [&](std::size_t from) {
        return std::all_of(buffer.begin() + static_cast<std::ptrdiff_t>(from), buffer.end(),
                           [](std::byte b) { return b == std::byte{0xAA}; });
    };
    EXPECT_FALSE(Transfer(nullptr, 768));
    EXPECT_FALSE(Transfer(buffer.data(), 769)) << "more than one row";
    EXPECT_FALSE(Transfer(buffer.data(), 0));
    EXPECT_TRUE(untouched(0));
    EXPECT_EQ(card_->RowsTransferred(), 0) << "refused requests use up no row";

    ASSERT_TRUE(Transfer(buffer.data(), 10));
    EXPECT_EQ(std::to_integer<int>(buffer[39]), 39 * 255 / 3071);
    EXPECT_TRUE(untouched(40));
}

}  // namespace
}  // namespace qm71::sim
