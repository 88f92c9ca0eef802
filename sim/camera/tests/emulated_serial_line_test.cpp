#include "sim/camera/emulated_serial_line.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "sim/camera/area_camera_protocol.h"

namespace qm71::sim {
namespace {

// The host's settings: 100 ms interval, 1000 ms per byte + 1000 ms.
constexpr SerialTimeouts kHost{100, 1000, 1000, 100, 100};
// Shortened ones a test might set: 74 ms in all for 32 bytes.
constexpr SerialTimeouts kShort{20, 2, 10, 1, 10};

class EmulatedLine : public ::testing::Test {
  protected:
    void OpenWith(const SerialTimeouts& t, const CameraFaults& faults = {}) {
        ASSERT_TRUE(line.Open("COM1"));
        ASSERT_TRUE(line.SetTimeouts(t));
        camera.SetFaults(faults);
    }
    bool Send(std::string_view text) {
        std::size_t written = 0;
        return line.Write(ToBytes(text), written) && written == text.size();
    }
    std::string ReadUpTo(std::size_t n) {
        std::array<std::byte, 64> buf{};
        return ToText(std::span(buf).first(line.Read(std::span(buf).first(n))));
    }

    AreaCameraProtocol camera;
    EmulatedSerialLine line{camera};
};

TEST_F(EmulatedLine, OpeningFollowsWhichPortsExistAndAreFree) {
    std::size_t written = 99;  // a closed line neither writes nor reads
    EXPECT_FALSE(line.Write(ToBytes("MDE?\r"), written));
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(ReadUpTo(32), "");
    SerialSettings s;
    EXPECT_FALSE(line.GetSettings(s));
    EXPECT_TRUE(line.Writes().empty());

    line.SetPortNames({"COM2"});
    EXPECT_FALSE(line.Open("COM1"));
    line.SetPortNames({"COM1", "COM2"});
    line.SetBusy("COM1", true);
    EXPECT_FALSE(line.Open("COM1"));
    EXPECT_TRUE(line.Open("COM2"));
    EXPECT_EQ(line.PortName(), "COM2");
    EXPECT_FALSE(line.Open("COM1"));  // this handle is taken

    line.Close();
    line.Close();
    EXPECT_FALSE(line.IsOpen());
    EXPECT_EQ(line.OpenCount(), 1);
    EXPECT_EQ(line.CloseCount(), 1);
    line.SetBusy("COM1", false);
    EXPECT_TRUE(line.Open("COM1"));
}

TEST_F(EmulatedLine, ExchangesAreLoggedAndReadsKeepWhatTheyDidNotTake) {
    OpenWith(kHost);
    ASSERT_TRUE(Send("GAE 24\r"));
    EXPECT_EQ(ReadUpTo(32), "\r");
    ASSERT_TRUE(Send("IDN?\r"));
    EXPECT_EQ(ReadUpTo(64), std::string(AreaCamera::kIdentity) + "\r");
    ASSERT_TRUE(Send("GAE?\rSHE?\r"));
    EXPECT_EQ(ReadUpTo(4), "GAE ");
    EXPECT_EQ(ReadUpTo(32), "24\rSHE ON\r");
    EXPECT_EQ(ReadUpTo(32), "");
    EXPECT_EQ(line.Writes().at(0), "GAE 24\r");
    ASSERT_EQ(line.Log().size(), 4u);
    EXPECT_EQ(ToText(line.Log()[2].reply), "GAE 24\r");
    EXPECT_EQ(camera.Camera().Settings().gain, 24);

    // Reopening starts with empty queues.
    ASSERT_TRUE(Send("MDE?\r"));
    line.Close();
    ASSERT_TRUE(line.Open("COM1"));
    EXPECT_EQ(line.PendingBytes(), 0u);
    EXPECT_EQ(ReadUpTo(32), "");
}

TEST_F(EmulatedLine, SilentAndLateCameras) {
    OpenWith(kHost, {.silent = true});
    ASSERT_TRUE(Send("MDE?\r"));
    EXPECT_EQ(ReadUpTo(32), "");
    EXPECT_EQ(line.Log().size(), 1u);

    // 300 ms late is within the host's 33 s for 32 bytes.
    camera.SetFaults({.lateMs = 300});
    ASSERT_TRUE(Send("MDE?\r"));
    EXPECT_EQ(ReadUpTo(32), "MDE CS\r");

    // With shortened time-outs it misses its read and starts the next one.
    ASSERT_TRUE(line.SetTimeouts(kShort));
    ASSERT_TRUE(Send("MDE?\r"));
    EXPECT_EQ(ReadUpTo(32), "");
    ASSERT_TRUE(Send("GAE?\r"));
    EXPECT_EQ(ReadUpTo(32), "MDE CS\r");  // the previous reply, not this one
    EXPECT_EQ(ReadUpTo(32), "GAE 0\r");   // a later read picks up what came since
}

TEST_F(EmulatedLine, PiecesSlowerThanTheIntervalEndEachReadAfterOneByte) {
    OpenWith(kHost, {.piecesMs = 50});  // faster than the 100 ms interval
    ASSERT_TRUE(Send("MDE?\r"));
    EXPECT_EQ(ReadUpTo(32), "MDE CS\r");

    camera.SetFaults({.piecesMs = 150});
    ASSERT_TRUE(Send("MDE?\r"));
    EXPECT_EQ(ReadUpTo(32), "M");
    EXPECT_EQ(ReadUpTo(32), "D");
}

TEST_F(EmulatedLine, ProvokedPlatformFailures) {
    OpenWith(kHost);
    line.SetFailures({.getSettings = true,
                      .setSettings = true,
                      .setTimeouts = true,
                      .write = true,
                      .writtenOnFailure = 3});
    SerialSettings s;
    EXPECT_FALSE(line.GetSettings(s));
    EXPECT_FALSE(line.SetSettings(s));
    EXPECT_FALSE(line.SetTimeouts(kShort));
    EXPECT_EQ(line.Timeouts().readIntervalMs, kHost.readIntervalMs);
    std::size_t written = 0;
    EXPECT_FALSE(line.Write(ToBytes("TRM P\r"), written));
    EXPECT_EQ(written, 3u);
    EXPECT_TRUE(line.Log().empty());  // nothing reached the camera

    line.SetFailures({});
    s.xonXoffInput = true;
    EXPECT_TRUE(line.SetSettings(s));
    EXPECT_TRUE(line.Settings().xonXoffInput);
}

}  // namespace
}  // namespace qm71::sim
