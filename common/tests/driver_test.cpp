#include "common/driver.h"

#include <gtest/gtest.h>

#include "testing/fakes.h"

namespace qm71 {
namespace {

TEST(DriverTest, PassesRequestsOnlyWhileOpenAndTellsTheCardBeforeClosing) {
    testing::ScriptedCard card;
    card.present = false;
    Driver driver(card);
    std::uint16_t v1 = 7, v2 = 9;
    EXPECT_FALSE(driver.Open());
    EXPECT_FALSE(driver.DriverCommand(SubCommand::QueryBase, v1, v2) || driver.TransferLine());
    driver.CloseGrabber();
    EXPECT_EQ(v1, 7);
    EXPECT_TRUE(card.log.empty() && card.lines.empty() && card.closes == 0);

    card.present = true;
    card.base = 0x720;
    ASSERT_TRUE(driver.Open());
    EXPECT_TRUE(driver.DriverCommand(SubCommand::QueryBase, v1, v2));
    EXPECT_EQ(v1, 0x720);
    EXPECT_EQ(card.log.at(0).value2, 9);
    std::byte row[8];
    driver.Line() = {row, 2, 0x320};
    EXPECT_TRUE(driver.TransferLine() && card.lines.at(0).destination == row);
    driver.CloseGrabber();
    driver.CloseGrabber();
    ASSERT_EQ(card.log.size(), 2u);
    EXPECT_EQ(card.log[1].subCommand, SubCommand::CloseCard);
    EXPECT_EQ(card.closes, 1);
    EXPECT_EQ(card.logSizeAtClose, 2u) << "the card is told first";
}

}  // namespace
}  // namespace qm71
