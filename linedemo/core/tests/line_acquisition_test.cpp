#include "linedemo/core/line_acquisition.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <tuple>
#include <vector>

#include "common/card_wait.h"
#include "linedemo/core/line_geometry.h"
#include "sim/card/simulated_card.h"
#include "testing/fakes.h"

namespace qm71 {
namespace {

using Request = testing::ScriptedCard::Request;
using enum SubCommand;

TEST(LineAcquisition, OpenLineGrabberLoadsTheCardForTheMode) {
    const struct {
        std::uint16_t reported, base;
        bool trigger;
        int lines;
    } cases[] = {{0x720, 0x720, false, 640}, {0x123, 0x320, true, 1}};
    for (const auto& c : cases) {
        testing::ScriptedCard card;
        card.base = c.reported;
        Driver driver(card);
        ASSERT_TRUE(driver.Open());
        EXPECT_EQ(OpenLineGrabber(driver, c.trigger), c.base);
        std::vector<Request> expected{{QueryBase, 0, 0},
                                      {Download, c.base, 0},
                                      {PostDownload, 0x100, 0},
                                      {BeginTable, 1024, 0}};
        for (int k = 0; k < 4096; k += 8) expected.emplace_back(TableEntries, k, k + 4);
        expected.emplace_back(SetParameter, 0x88E0, c.lines);
        expected.emplace_back(Commit, 0x88E0, c.lines);
        EXPECT_EQ(card.Requests(), expected);
        EXPECT_EQ(driver.Line().cardBase, c.base);
    }
}

TEST(LineAcquisition, TriggeredLinesEachFollowARisingEdge) {
    testing::ScriptedCard card;
    card.rows = [] { return std::uint16_t{1}; };
    Driver driver(card);
    driver.Open();
    ManualClock clock;
    std::vector<std::byte> buffer(kLineWidth * kLineCount);
    ASSERT_TRUE(TriggeredImage(driver, clock, buffer.data()));
    const std::vector<Request> perLine{
        {TriggerControl, 0, 0}, {TriggerControl, 0, 1}, {LineCount, 1, 0}, {BeginReadout, 1, 0}};
    std::vector<Request> expected;
    for (int i = 0; i < kTriggeredLines; ++i)
        expected.insert(expected.end(), perLine.begin(), perLine.end());
    EXPECT_EQ(card.Requests(), expected);
    EXPECT_EQ(card.lines.size(), 639u);
}

// The simulated line camera, as fast as the host copies.
struct OnSimulatedCard : ::testing::Test {
    ManualClock clock;
    sim::CardOptions options = [] {
        sim::CardOptions o = sim::LineCameraOptions();
        o.fps = 0;
        return o;
    }();
    std::vector<std::byte> buffer =
        std::vector<std::byte>(kLineWidth * kLineCount, std::byte{0xAB});
    sim::TestPattern pattern{kLineCount, kLineWidth, sim::TestPattern::Scan::BottomUp};

    // Line k of the image holds the camera's k-th line.
    void ExpectLines(int from, int to) {
        std::vector<std::byte> row(kLineWidth);
        for (int k = from; k < to; ++k) {
            pattern.Render(0, k, row.data(), row.size());
            ASSERT_EQ(std::memcmp(buffer.data() + k * kLineWidth, row.data(), row.size()), 0)
                << "line " << k;
        }
    }
};

TEST_F(OnSimulatedCard, LinesLandInOrderAndTriggeredModeLeavesTheLastOne) {
    for (const bool trigger : {true, false}) {
        sim::SimulatedCard card(clock, options);
        Driver driver(card);
        driver.Open();
        OpenLineGrabber(driver, trigger);
        ASSERT_TRUE(trigger ? TriggeredImage(driver, clock, buffer.data())
                            : FreeRunImage(driver, clock, buffer.data()));
        ExpectLines(0, trigger ? kTriggeredLines : kLineCount);
        if (trigger) {  // the last line as it was
            EXPECT_EQ(std::count(buffer.end() - kLineWidth, buffer.end(), std::byte{0xAB}),
                      kLineWidth);
        }
    }
}

TEST_F(OnSimulatedCard, ACardThatFallsSilentIsGivenUpAfterTheBound) {
    const std::tuple<bool, const char*, int> cases[] = {{false, "stall-after-rows=100", 100},
                                                        {true, "no-trigger", 0}};
    for (const auto& [trigger, fault, linesKept] : cases) {
        sim::CardOptions o = options;
        std::string error;
        ASSERT_TRUE(sim::ParseCardOptions(fault, o, error));
        sim::SimulatedCard card(clock, o);
        Driver driver(card);
        driver.Open();
        OpenLineGrabber(driver, trigger);
        const auto start = clock.Now();
        EXPECT_FALSE(trigger ? TriggeredImage(driver, clock, buffer.data())
                             : FreeRunImage(driver, clock, buffer.data()));
        EXPECT_GE(clock.Now() - start, kCardTimeout);
        EXPECT_LT(clock.Now() - start, kCardTimeout + std::chrono::milliseconds(10));
        ExpectLines(0, linesKept);
    }
}

}  // namespace
}  // namespace qm71
