#include "common/driver.h"

#include <gtest/gtest.h>

#include "testing/fakes.h"

namespace qm71 {
namespace {

TEST(DriverTest, WithoutAnOpenDriverNothingIsSentAndValuesStay) {
    testing::ScriptedCard card;
    card.present = false;
    Driver driver(card);
    std::uint16_t v1 = 7, v2 = 9;
    EXPECT_FALSE(driver.DriverCommand(SubCommand::QueryBase, v1, v2));  // never opened
    EXPECT_FALSE(driver.Open());
    EXPECT_FALSE(driver.DriverCommand(SubCommand::QueryBase, v1, v2));
    EXPECT_FALSE(driver.Send(SubCommand::ArmFrame));
    EXPECT_FALSE(driver.TransferLine());
    driver.CloseGrabber();
    EXPECT_EQ(v1, 7);
    EXPECT_EQ(v2, 9);
    EXPECT_TRUE(card.log.empty() && card.lines.empty());
    EXPECT_EQ(card.closes, 0);
}

TEST(DriverTest, OpenDriverPassesRequestsAndTellsTheCardBeforeClosing) {
    testing::ScriptedCard card;
    card.base = 0x720;
    Driver driver(card);
    ASSERT_TRUE(driver.Open());
    std::uint16_t v1 = 0, v2 = 5;
    EXPECT_TRUE(driver.DriverCommand(SubCommand::QueryBase, v1, v2));
    EXPECT_EQ(v1, 0x720);
    EXPECT_EQ(card.log.at(0).value2, 5);
    std::byte row[8];
    driver.Line() = {row, 2, 0x320};
    EXPECT_TRUE(driver.TransferLine());
    ASSERT_EQ(card.lines.size(), 1u);
    EXPECT_EQ(card.lines[0].destination, row);
    EXPECT_EQ(card.lines[0].cardBase, 0x320u);

    driver.CloseGrabber();
    driver.CloseGrabber();
    ASSERT_EQ(card.log.size(), 2u);
    EXPECT_EQ(card.log[1].subCommand, SubCommand::CloseCard);
    EXPECT_EQ(card.closes, 1);
    EXPECT_EQ(card.logSizeAtClose, 2u);  // the card is told first
    EXPECT_FALSE(driver.Send(SubCommand::LineCount));
}

}  // namespace
}  // namespace qm71
