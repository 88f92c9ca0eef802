#include "common/driver.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/driver_channel.h"

namespace qm71 {
namespace {

template <std::size_t N>
std::vector<int> Ints(const std::array<std::byte, N>& wire) {
    std::vector<int> out;
    for (auto b : wire) out.push_back(std::to_integer<int>(b));
    return out;
}

TEST(DriverWireTest, BothRequestFormsHaveTheirExactBytes) {
    // Sub-command, two little-endian words, eight zero bytes.
    auto wire = EncodeDriverRequest({SubCommand::SetParameter, 0x88E0, 0x0280});
    EXPECT_EQ(Ints(wire),
              (std::vector<int>{0x34, 0, 0xE0, 0x88, 0x80, 0x02, 0, 0, 0, 0, 0, 0, 0, 0}));
    wire[6] = std::byte{0xFF};  // padding is not part of the values
    const DriverRequest back = DecodeDriverRequest(wire);
    EXPECT_EQ(back.subCommand, SubCommand::SetParameter);
    EXPECT_EQ(back.value1, 0x88E0);
    EXPECT_EQ(back.value2, 0x0280);

    // Line request: low 32 bits of the address, count at 4, card base at 24.
    std::byte row[4];
    const auto address = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(row));
    std::vector<int> expected(kLineRequestSize, 0);
    for (std::size_t i = 0; i < 4; ++i) expected[i] = int((address >> (8 * i)) & 0xFF);
    expected[4] = 0xE2;
    expected[5] = 0x04;
    expected[24] = 0x20;
    expected[25] = 0x07;
    EXPECT_EQ(Ints(EncodeLineRequest({row, 1250, 0x720})), expected);
}

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
