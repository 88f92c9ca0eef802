#include "sim/card/simulated_card.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <tuple>
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

// Stalls and a deaf trigger input are tested on the line camera below.
TEST(SimulatedCardTest, ARequestGivesNoMoreThanOneRowAndNothingWithoutABuffer) {
    Card c({.fps = 0});
    c.Ask(SubCommand::ArmFrame);
    std::vector<std::byte> buffer(4000, std::byte{0xAA});
    EXPECT_FALSE(c.Transfer(nullptr));
    EXPECT_FALSE(c.Transfer(buffer.data(), 769)) << "more than one row";
    EXPECT_FALSE(c.Transfer(buffer.data(), 0));
    ASSERT_TRUE(c.Transfer(buffer.data(), 10));
    EXPECT_EQ(buffer[40], std::byte{0xAA}) << "no more than asked";
}

// The line demo's two ways of reading an image (free-running: arm, then line
// i once the count differs from i; triggered: 639 times a rising edge, a count
// other than 0, one line), each poll bounded, `step` of simulated time passing
// per empty poll. Returns the lines read, line i at byte 5000 * i.
struct LineHost : Card {
    using Card::Card;
    int Read(bool triggered) {
        if (!triggered) Ask(SubCommand::ArmFrame);
        for (int i = 0; i < (triggered ? 639 : 640); ++i) {
            if (triggered)
                for (int bits : {0, 1}) Ask(SubCommand::TriggerControl, 0, std::uint16_t(bits));
            const int busy = triggered || i == 0 ? 0 : i;
            for (int polls = 0; Ask(SubCommand::LineCount, 1) == busy; clock.Advance(step))
                if (++polls > 100000) return i;
            if (triggered || i == 0) Ask(SubCommand::BeginReadout);
            if (!Transfer(image.data() + std::size_t(i) * 5000, 1250)) return i;
        }
        return triggered ? 639 : 640;
    }
    // Line k is the k-th line the camera scanned of `picture`.
    void ExpectPicture(std::uint32_t picture, int lines) {
        std::vector<std::byte> row(5000);
        for (int k = 0; k < lines; ++k) {
            pattern.Render(picture, k, row.data(), row.size());
            ASSERT_TRUE(std::equal(row.begin(), row.end(), image.begin() + k * 5000)) << k;
        }
    }
    void Mode(std::uint16_t lines) { Ask(SubCommand::SetParameter, kLinesParameter, lines); }
    std::chrono::nanoseconds step = 1us;
    std::vector<std::byte> image = std::vector<std::byte>(640 * 5000);
    TestPattern pattern{640, 5000, TestPattern::Scan::BottomUp};
};

CardOptions Line(std::string_view sim) {
    CardOptions o = LineCameraOptions();
    std::string error;
    EXPECT_TRUE(ParseCardOptions(sim, o, error)) << error;
    return o;
}

TEST(LineCameraTest, ImagesComeAtTheCamerasPaceBottomLineFirstAndMove) {
    // Simulated time from the end of one image to the end of the next: a frame
    // period free-running, 639 line times (15/16 of a period / 640) triggered.
    const std::tuple<const char*, bool, std::chrono::microseconds, std::chrono::microseconds>
        cases[] = {{"fps=15", false, 66600us, 66700us},
                   {"fps=15", true, 62400us, 63100us},
                   {"fps=0", false, 0us, 0us},
                   {"fps=0", true, 0us, 0us}};
    for (const auto& [rate, triggered, least, most] : cases) {
        LineHost c(Line(rate));
        c.Mode(triggered ? 1 : 640);
        auto end = c.clock.Now();
        for (std::uint32_t picture = 0; picture < 3; ++picture) {
            ASSERT_EQ(c.Read(triggered), triggered ? 639 : 640) << rate;
            const auto took = c.clock.Now() - end;
            end = c.clock.Now();
            EXPECT_TRUE(picture == 0 || (took >= least && took <= most)) << rate << " " << took;
            c.ExpectPicture(picture, triggered ? 639 : 640);
        }
    }
}

TEST(LineCameraTest, ModesTriggerEdgesAndStall) {
    LineHost c(Line("fps=0,stall-after-rows=1000"));
    c.Mode(1);
    // Only a rising edge of bit 0 captures a line.
    const std::pair<std::uint16_t, int> edges[] = {{1, 1}, {1, 1}, {3, 1}, {2, 1}, {1, 2}, {0, 2}};
    for (const auto& [bits, lines] : edges) {
        c.Ask(SubCommand::TriggerControl, 0, bits);
        EXPECT_EQ(c.Lines(), lines) << bits;
    }
    c.Mode(1);
    EXPECT_EQ(c.Lines(), 0) << "a new mode starts empty";
    EXPECT_EQ(c.Read(false), 0) << "arming gives no lines in trigger mode";
    EXPECT_EQ(c.Read(true), 639);
    c.Mode(640);
    EXPECT_EQ(c.Read(false), 1000 - 639) << "the card stalls";
    c.Mode(1);
    EXPECT_EQ(c.Read(true), 0);

    LineHost deaf(Line("fps=0,no-trigger"));
    deaf.Mode(1);
    EXPECT_EQ(deaf.Read(true), 0);
    deaf.Mode(640);
    EXPECT_EQ(deaf.Read(false), 640);
    for (int bits : {0, 1}) deaf.Ask(SubCommand::TriggerControl, 0, std::uint16_t(bits));
    EXPECT_EQ(deaf.Lines(), 640) << "free-running, the trigger starts nothing";
}

}  // namespace
}  // namespace qm71::sim
