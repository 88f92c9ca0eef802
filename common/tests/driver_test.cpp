#include "common/driver.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/driver_channel.h"

namespace qm71 {
namespace {

// Records what the driver sends and answers with fixed values.
class RecordingChannel : public DriverChannel {
  public:
    bool Open() override { return opens; }
    bool Command(DriverRequest& r) override {
        sent.push_back(r.subCommand);
        r.value1 = 0x1111;
        r.value2 = 0x2222;
        return true;
    }
    bool TransferLine(const LineRequest& r) override {
        lines.push_back(r);
        return true;
    }
    void Close() override {
        ++closes;
        sentBeforeClose = sent.size();
    }

    bool opens = true;
    std::vector<SubCommand> sent;
    std::vector<LineRequest> lines;
    int closes = 0;
    std::size_t sentBeforeClose = 0;
};

TEST(DriverTest, WithoutAnOpenDriverNothingIsSentAndValuesStay) {
    RecordingChannel channel;
    channel.opens = false;
    Driver driver(channel);
    std::uint16_t v1 = 7, v2 = 9;
    EXPECT_FALSE(driver.DriverCommand(SubCommand::LineCount, v1, v2));  // never opened
    EXPECT_FALSE(driver.Open());
    EXPECT_FALSE(driver.DriverCommand(SubCommand::LineCount, v1, v2));
    EXPECT_FALSE(driver.Send(SubCommand::ArmFrame));
    EXPECT_FALSE(driver.TransferLine());
    driver.CloseGrabber();
    EXPECT_EQ(v1, 7);
    EXPECT_EQ(v2, 9);
    EXPECT_TRUE(channel.sent.empty() && channel.lines.empty());
    EXPECT_EQ(channel.closes, 0);
}

TEST(DriverTest, OpenDriverPassesRequestsAndClosesOnce) {
    RecordingChannel channel;
    Driver driver(channel);
    ASSERT_TRUE(driver.Open());
    std::uint16_t v1 = 0, v2 = 0;
    EXPECT_TRUE(driver.DriverCommand(SubCommand::QueryBase, v1, v2));
    EXPECT_EQ(v1, 0x1111);
    EXPECT_EQ(v2, 0x2222);
    std::byte row[8];
    driver.Line() = {row, 2, 0x320};
    EXPECT_TRUE(driver.TransferLine());
    ASSERT_EQ(channel.lines.size(), 1u);
    EXPECT_EQ(channel.lines[0].destination, row);

    driver.CloseGrabber();
    driver.CloseGrabber();
    EXPECT_EQ(channel.sent,
              (std::vector<SubCommand>{SubCommand::QueryBase, SubCommand::CloseCard}));
    EXPECT_EQ(channel.closes, 1);
    EXPECT_EQ(channel.sentBeforeClose, 2u);  // the card is told first
    EXPECT_FALSE(driver.Send(SubCommand::LineCount));
}

}  // namespace
}  // namespace qm71
