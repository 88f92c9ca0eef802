#include <gtest/gtest.h>

#include <sstream>

#include "compose/card_choice.h"
#include "platform/win32/win32_driver_channel.h"
#include "testing/fakes.h"
#include "viewer/core/viewer_app.h"

namespace qm71 {
namespace {

// Where the card's driver is not installed (Wine, a PC without the card) the
// channel fails every request, and the programs start up saying so.
TEST(Win32DriverTest, WithoutTheDriverEveryRequestFailsAndStartUpSaysSo) {
    Win32DriverChannel missing;
    EXPECT_FALSE(missing.Open());
    DriverRequest request{SubCommand::QueryBase, 1, 2};
    EXPECT_FALSE(missing.Command(request));
    EXPECT_EQ(request.value1 + request.value2 * 0x10000, 0x20001);
    std::byte row[16]{};
    EXPECT_FALSE(missing.TransferLine({row, 4, kDefaultCardBase}));
    missing.Close();

    ManualClock clock;
    std::ostringstream says;
    auto channel = MakeDriverChannel(clock, CameraKind::kArea, nullptr, nullptr, says);
    EXPECT_TRUE(says.str().starts_with("qm71: card driver")) << says.str();
    Driver driver(*channel);
    testing::RecordingOperator op;
    testing::MemoryProfile store;
    const ViewerApp app(store, driver, op, clock);
    EXPECT_EQ(op.messages, std::vector<std::string>{"Treiber nicht gefunden"});
}

}  // namespace
}  // namespace qm71
