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
    void Edge(std::uint16_t bits) { Ask(SubCommand::TriggerControl, 0, bits); }
    bool Transfer(std::byte* dst, std::uint32_t words) {
        driver_->Line().destination = dst;
        driver_->Line().count = words;
        return driver_->TransferLine();
    }
    // Polls LineCount until it exceeds `row`, letting 1 ms pass per empty poll.
    bool WaitForRow(long long row) {
        for (int polls = 0; polls < 100000; ++polls) {
            if (Lines() > row) return true;
            clock_.Sleep(1ms);
        }
        return false;
    }
    // The viewer's frame read: rows into a bottom-up picture, first row last.
    Bytes ReadAreaFrame() {
        const auto& o = card_->Options();
        Bytes image(static_cast<std::size_t>(o.rowsPerFrame) * o.rowBytes);
        Ask(SubCommand::BeginReadout);
        for (int row = 0; row < o.rowsPerFrame; ++row) {
            if (!WaitForRow(row)) {
                ADD_FAILURE() << "row " << row << " never arrived";
                break;
            }
            auto* dst =
                image.data() + static_cast<std::size_t>(o.rowsPerFrame - 1 - row) * o.rowBytes;
            EXPECT_TRUE(Transfer(dst, static_cast<std::uint32_t>(o.rowBytes / 4)));
        }
        return image;
    }
    Bytes PatternRow(std::uint32_t frame, int row) {
        Bytes out(static_cast<std::size_t>(card_->Options().rowBytes));
        card_->Pattern().Render(frame, row, out.data(), out.size());
        return out;
    }

    ManualClock clock_;
    std::optional<SimulatedCard> card_;
    std::optional<Driver> driver_;
};

TEST_F(SimulatedCardTest, AnswersStartUpRequestsAndKeepsTheTable) {
    Make({});
    EXPECT_EQ(Ask(SubCommand::QueryBase), 0x320);
    EXPECT_EQ(Ask(SubCommand::Download, 0x320), 0x0100) << "no error, one attempt";
    Ask(SubCommand::PostDownload);
    Ask(SubCommand::SetParameter, kLinesParameter, 1);
    EXPECT_EQ(card_->LinesParameter(), 1);
    Ask(SubCommand::BeginTable, 1024, 0);
    for (int j = 0; j < 512; ++j)
        Ask(SubCommand::TableEntries, static_cast<std::uint16_t>(2 * j),
            static_cast<std::uint16_t>(2 * j + 1));
    std::uint16_t a = 7, b = 8;
    EXPECT_FALSE(driver_->DriverCommand(SubCommand::TableEntries, a, b)) << "beyond 1024";
    Ask(SubCommand::Commit);
    ASSERT_EQ(card_->Table().size(), 1024u);
    for (std::size_t k = 0; k < 1024; ++k) ASSERT_EQ(card_->Table()[k], k);

    std::uint16_t v1 = 0x1234, v2 = 0x5678;
    EXPECT_FALSE(driver_->DriverCommand(static_cast<SubCommand>(0x77), v1, v2));
    EXPECT_FALSE(driver_->DriverCommand(SubCommand::SetParameter, v1, v2)) << "unknown parameter";
    EXPECT_EQ(v1, 0x1234);
    EXPECT_EQ(v2, 0x5678);
}

TEST_F(SimulatedCardTest, ReportsInjectedBaseAndDownloadError) {
    CardOptions o;
    o.reportedBase = 0x720;
    o.downloadError = 3;
    o.downloadAttempts = 2;
    Make(o);
    EXPECT_EQ(Ask(SubCommand::QueryBase), 0x720);
    EXPECT_EQ(Ask(SubCommand::Download, 0x720), 0x0203);
}

TEST_F(SimulatedCardTest, ClosedCardAnswersNothing) {
    Make({});
    driver_->CloseGrabber();
    DriverRequest request{SubCommand::QueryBase, 5, 6};
    EXPECT_FALSE(card_->Command(request));
    EXPECT_EQ(request.value1, 5);
    Bytes row(3072);
    LineRequest line{row.data(), 768, 0x320};
    EXPECT_FALSE(card_->TransferLine(line));
}

TEST_F(SimulatedCardTest, RowsArriveOverTheFramePeriod) {
    Make({});  // 15 fps: a frame every 66.67 ms, rows during the first 62.5 ms
    EXPECT_EQ(Lines(), 0) << "nothing before the card is armed";
    Ask(SubCommand::ArmFrame);
    EXPECT_EQ(Lines(), 0);
    clock_.Advance(31250us);
    EXPECT_NEAR(Lines(), 1028, 1);
    clock_.Advance(31000us);
    EXPECT_NEAR(Lines(), 2047, 1);
    clock_.Advance(1ms);
    EXPECT_EQ(Lines(), 2056);
    clock_.Advance(1s);
    EXPECT_EQ(Lines(), 2056);

    // Armed in the middle of a frame, the card waits for the next frame start.
    clock_.Advance(9500us);  // now 1072.5 ms; frame 17 starts at 1133.3 ms
    Ask(SubCommand::ArmFrame);
    clock_.Advance(60ms);
    EXPECT_EQ(Lines(), 0);
    clock_.Advance(1ms);
    EXPECT_GT(Lines(), 0);
    EXPECT_LT(Lines(), 100);
}

TEST_F(SimulatedCardTest, AtZeroFpsTheWholeFrameIsThereAtOnce) {
    CardOptions o;
    o.fps = 0;
    Make(o);
    Ask(SubCommand::ArmFrame);
    EXPECT_EQ(Lines(), 2056);
}

TEST_F(SimulatedCardTest, ViewerReadsWholeFramesThatChange) {
    Make({});
    Ask(SubCommand::ArmFrame);
    ASSERT_TRUE(WaitForRow(0));
    const Bytes first = ReadAreaFrame();
    EXPECT_EQ(card_->RowsTransferred(), 2056);
    for (int row : {0, 100, 600, 1100, 1300, 1600, 2055}) {
        const auto* stored = first.data() + static_cast<std::size_t>(2055 - row) * 3072;
        EXPECT_TRUE(std::equal(stored, stored + 3072, PatternRow(0, row).begin())) << row;
    }
    // Top row of the picture: the ramp, dark on the left, bright on the right.
    const auto* top = first.data() + 2055u * 3072;
    EXPECT_EQ(std::to_integer<int>(top[0]), 0);
    EXPECT_EQ(std::to_integer<int>(top[3071]), 255);

    Ask(SubCommand::ArmFrame);
    ASSERT_TRUE(WaitForRow(0));
    const Bytes second = ReadAreaFrame();
    EXPECT_EQ(card_->CurrentFrameNumber(), 1u);
    EXPECT_NE(first, second);
    EXPECT_EQ(clock_.Now() < 200ms, true) << "the viewer keeps up with every frame";
}

TEST_F(SimulatedCardTest, StallStopsTheRowCount) {
    CardOptions o;
    o.fps = 0;
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

TEST_F(SimulatedCardTest, SoftwareTriggerStartsAnAreaFrameAtOnce) {
    Make({});
    clock_.Advance(20ms);  // between frame starts
    for (int bits : {0, 0, 2, 1}) Edge(static_cast<std::uint16_t>(bits));
    EXPECT_EQ(Lines(), 0);
    clock_.Advance(63ms);
    EXPECT_EQ(Lines(), 2056);
    const auto frame = card_->CurrentFrameNumber();
    Edge(1);  // still high: no edge, no new frame
    EXPECT_EQ(Lines(), 2056);
    EXPECT_EQ(card_->CurrentFrameNumber(), frame);
    Edge(0);
    Edge(1);
    EXPECT_EQ(Lines(), 0) << "a new frame started";
}

TEST_F(SimulatedCardTest, NoTriggerIgnoresEdges) {
    CardOptions o = LineCameraOptions();
    o.noTrigger = true;
    Make(o);
    Ask(SubCommand::SetParameter, kLinesParameter, 1);
    Edge(0);
    Edge(1);
    EXPECT_EQ(Lines(1), 0);

    CardOptions area;
    area.noTrigger = true;
    area.fps = 0;
    Make(area);
    for (int bits : {0, 0, 2, 1}) Edge(static_cast<std::uint16_t>(bits));
    EXPECT_EQ(Lines(), 0);
}

TEST_F(SimulatedCardTest, TriggeredLineModeGivesOneLinePerEdge) {
    Make(LineCameraOptions());
    Ask(SubCommand::SetParameter, kLinesParameter, 1);
    Ask(SubCommand::Commit);
    Bytes image(640u * 5000);
    for (int line = 0; line < 641; ++line) {
        Edge(0);
        Edge(1);
        ASSERT_EQ(Lines(1), 1) << line;
        Ask(SubCommand::BeginReadout);
        ASSERT_TRUE(Transfer(image.data() + static_cast<std::size_t>(line % 640) * 5000, 1250));
        ASSERT_EQ(Lines(1), 0);
    }
    // Line k of image 0 is picture row 639 - k (the demo stores line 0 at the bottom);
    // line 640 is the first line of image 1.
    for (int k : {1, 200, 400, 639}) {
        const auto* stored = image.data() + static_cast<std::size_t>(k) * 5000;
        EXPECT_TRUE(std::equal(stored, stored + 5000, PatternRow(0, 639 - k).begin())) << k;
    }
    EXPECT_TRUE(std::equal(image.begin(), image.begin() + 5000, PatternRow(1, 639).begin()));

    EXPECT_FALSE(Transfer(image.data(), 1250)) << "no line without a trigger";
    Edge(0);
    Edge(1);
    Edge(0);
    Edge(1);
    EXPECT_EQ(Lines(1), 2);
    Ask(SubCommand::SetParameter, kLinesParameter, 640);
    EXPECT_EQ(Lines(1), 0) << "switching to free run drops captured lines";
}

TEST_F(SimulatedCardTest, FreeRunningLineImage) {
    CardOptions o = LineCameraOptions();
    o.fps = 0;
    Make(o);
    Ask(SubCommand::SetParameter, kLinesParameter, 640);
    Ask(SubCommand::ArmFrame);
    EXPECT_EQ(Lines(1), 640);
    Ask(SubCommand::BeginReadout);
    Bytes image(640u * 5000);
    for (int line = 0; line < 640; ++line)
        ASSERT_TRUE(Transfer(image.data() + static_cast<std::size_t>(line) * 5000, 1250));
    EXPECT_FALSE(Transfer(image.data(), 1250)) << "only 640 lines in an image";
    for (int k : {0, 100, 300, 639}) {
        const auto* stored = image.data() + static_cast<std::size_t>(k) * 5000;
        EXPECT_TRUE(std::equal(stored, stored + 5000, PatternRow(0, 639 - k).begin())) << k;
    }
}

TEST_F(SimulatedCardTest, NeverWritesMoreThanAsked) {
    CardOptions o;
    o.fps = 0;
    Make(o);
    Ask(SubCommand::ArmFrame);
    Bytes buffer(4000, std::byte{0xAA});
    EXPECT_FALSE(Transfer(nullptr, 768));
    EXPECT_FALSE(Transfer(buffer.data(), 769)) << "more than one row";
    EXPECT_FALSE(Transfer(buffer.data(), 0));
    EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(),
                            [](std::byte b) { return b == std::byte{0xAA}; }));
    EXPECT_EQ(card_->RowsTransferred(), 0) << "refused requests use up no row";

    ASSERT_TRUE(Transfer(buffer.data(), 10));
    EXPECT_EQ(std::to_integer<int>(buffer[39]), 39 * 255 / 3071);
    EXPECT_TRUE(std::all_of(buffer.begin() + 40, buffer.end(),
                            [](std::byte b) { return b == std::byte{0xAA}; }));
}

TEST_F(SimulatedCardTest, CloseCardStopsEverything) {
    CardOptions o = LineCameraOptions();
    o.fps = 0;
    Make(o);
    Ask(SubCommand::ArmFrame);
    EXPECT_EQ(Lines(1), 640);
    Ask(SubCommand::CloseCard);
    EXPECT_EQ(Lines(1), 0);
}

}  // namespace
}  // namespace qm71::sim
