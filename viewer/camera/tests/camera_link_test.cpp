// The camera link over the real serial line, against the camera emulator
// qm71-camsim on COM1 and COM2, with shortened time-outs.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "testing/camsim.h"
#include "testing/recording_operator.h"
#include "testing/scripted_line.h"
#include "viewer/camera/camera_settings.h"

namespace qm71 {
namespace {

using testing::Camsim;

using Ms = std::chrono::milliseconds;
using SteadyClock = std::chrono::steady_clock;

std::string Exchange(SerialLine& line, std::string_view command) {
    std::size_t written = 0;
    EXPECT_TRUE(line.Write(std::as_bytes(std::span(command)), written));
    std::vector<std::byte> reply(32);
    std::size_t read = 0;
    EXPECT_TRUE(line.Read(reply, read));
    return {reinterpret_cast<const char*>(reply.data()), read};
}

TEST(CameraLink, HeldCom1LeavesCom2AndASilentCameraCostsOneTimeout) {
    Camsim silent("COM1", {"--silent"});
    Camsim answering("COM2", {});
    const auto holder = testing::MakeSystemSerialLine();
    const auto serial = testing::MakeSystemSerialLine();
    testing::RecordingOperator op;
    // 100 ms interval and 1000 ms a byte + 1000 ms, shortened: 64 bytes, 228 ms.
    CameraPort port(*serial, op, {20, 2, 100, 10, 100});

    ASSERT_TRUE(holder->Open("COM1"));
    ASSERT_TRUE(port.OpenCameraPort());
    SerialSettings line, wanted;  // what the terminal took: 9600 8N1, XON/XOFF both ways
    wanted.xonXoffOutput = wanted.xonXoffInput = true;
    ASSERT_TRUE(serial->GetSettings(line));
    // A terminal has no modem-control lines; Wine reports them as asserted.
    line.dtr = line.rts = SerialSettings::LineControl::Disabled;
    EXPECT_EQ(line, wanted);
    const CameraReadout factory = QueryCamera(port);
    EXPECT_EQ(factory.identity, "QM71 Camera Emulator 1.0");
    EXPECT_EQ(factory.settings, (CameraSettings{1, 2, 200, 1, BlackLevelFactory, 1, 1, 0}));
    const CameraSettings changed{3, 3, 150, 3, -20, 2, 2, 12};
    EXPECT_EQ(SendCameraSettings(port, changed), 1);
    EXPECT_EQ(QueryCamera(port).settings, changed);
    EXPECT_TRUE(op.messages.empty());
    port.CloseCameraPort();

    holder->Close();
    ASSERT_TRUE(port.OpenCameraPort());
    const auto start = SteadyClock::now();
    EXPECT_FALSE(QueryCamera(port).identity.has_value());
    const auto took = std::chrono::duration_cast<Ms>(SteadyClock::now() - start);
    EXPECT_GE(took.count(), 228);
    EXPECT_LT(took.count(), 1000);  // not once more for every setting
    EXPECT_EQ(op.messages, std::vector<std::string>{"Die Kamera an COM1 antwortet nicht."});

    // A watcher that gives up ends a minute's wait at its first look.
    testing::RecordingWatcher impatient;
    impatient.keepWaiting = [] { return false; };
    const auto other = testing::MakeSystemSerialLine();
    CameraPort waiting(*other, op, {20, 0, 60000, 10, 100}, &impatient);
    ASSERT_TRUE(waiting.OpenCameraPort());
    const auto asked = SteadyClock::now();
    EXPECT_FALSE(QueryCamera(waiting).identity.has_value());
    EXPECT_LT(SteadyClock::now() - asked, Ms(500));
    EXPECT_EQ(impatient.ports, std::vector<std::string>{"COM1"});
    EXPECT_EQ(impatient.ended, 1);
    EXPECT_TRUE(holder->Open("COM1"));  // released
}

TEST(CameraLink, ALateReplyIsDroppedBeforeTheNextCommand) {
    Camsim late("COM1", {"--late", "300"});
    const auto line = testing::MakeSystemSerialLine();
    ASSERT_TRUE(line->Open("COM1"));
    ASSERT_TRUE(line->SetSettings(SerialSettings{}));
    ASSERT_TRUE(line->SetTimeouts({20, 0, 100, 10, 100}));

    const auto sent = SteadyClock::now();
    EXPECT_EQ(Exchange(*line, "MDE?\r"), "");  // ends after 100 ms
    // Its first byte shows that the reply has come; the rest waits unread.
    ASSERT_TRUE(line->SetTimeouts({20, 0, 5000, 10, 100}));
    std::byte first{};
    std::size_t read = 0;
    ASSERT_TRUE(line->Read(std::span(&first, 1), read));
    ASSERT_EQ(read, 1u);
    EXPECT_GE(std::chrono::duration_cast<Ms>(SteadyClock::now() - sent).count(), 300);
    line->DiscardInput();
    ASSERT_TRUE(line->SetTimeouts({20, 0, 2000, 10, 100}));
    EXPECT_EQ(Exchange(*line, "GAE?\r"), "GAE 0\r");
}

}  // namespace
}  // namespace qm71
