#include "sim/camera/emulated_serial_line.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "sim/camera/area_camera_protocol.h"

namespace qm71::sim {
namespace {

class EmulatedLine : public ::testing::Test {
  protected:
    void OpenWith(const SerialTimeouts& t) {
        ASSERT_TRUE(line.Open("COM1"));
        ASSERT_TRUE(line.SetTimeouts(t));
    }
    bool Send(std::string_view text) {
        std::size_t written = 0;
        return line.Write(ToBytes(text), written) && written == text.size();
    }
    std::string ReadUpTo(std::size_t n) {
        std::array<std::byte, 64> buf{};
        const std::size_t got = line.Read(std::span(buf).first(n));
        return ToText(std::span(buf).first(got));
    }

    // The host's settings: 100 ms interval, 1000 ms per byte + 1000 ms.
    static constexpr SerialTimeouts kHost{100, 1000, 1000, 100, 100};
    // Shortened ones a test might set.
    static constexpr SerialTimeouts kShort{20, 2, 10, 1, 10};

    AreaCameraProtocol camera;
    EmulatedSerialLine line{camera};
};

TEST_F(EmulatedLine, OpeningFollowsWhichPortsExistAndAreFree) {
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

TEST_F(EmulatedLine, ClosedLineNeitherWritesNorReads) {
    std::size_t written = 99;
    EXPECT_FALSE(line.Write(ToBytes("MDE?\r"), written));
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(ReadUpTo(32), "");
    SerialSettings s;
    EXPECT_FALSE(line.GetSettings(s));
    EXPECT_TRUE(line.Writes().empty());
}

TEST_F(EmulatedLine, ExchangeIsOneWriteAndOneReadAndIsLogged) {
    OpenWith(kHost);
    ASSERT_TRUE(Send("GAE 24\r"));
    EXPECT_EQ(ReadUpTo(32), "\r");
    ASSERT_TRUE(Send("GAE?\r"));
    EXPECT_EQ(ReadUpTo(32), "GAE 24\r");
    ASSERT_TRUE(Send("IDN?\r"));
    EXPECT_EQ(ReadUpTo(64), std::string(AreaCamera::kIdentity) + "\r");

    ASSERT_EQ(line.Writes().size(), 3u);
    EXPECT_EQ(line.Writes()[0], "GAE 24\r");
    ASSERT_EQ(line.Log().size(), 3u);
    EXPECT_EQ(ToText(line.Log()[1].reply), "GAE 24\r");
    EXPECT_EQ(camera.Camera().Settings().gain, 24);
}

TEST_F(EmulatedLine, ReadTakesAtMostTheRequestedCountAndKeepsTheRest) {
    OpenWith(kHost);
    ASSERT_TRUE(Send("MDE?\rSHE?\r"));
    EXPECT_EQ(ReadUpTo(4), "MDE ");
    EXPECT_EQ(ReadUpTo(32), "CS\rSHE ON\r");
    EXPECT_EQ(ReadUpTo(32), "");
}

TEST_F(EmulatedLine, SilentCameraGivesEmptyReads) {
    OpenWith(kHost);
    camera.SetFaults({.silent = true});
    ASSERT_TRUE(Send("MDE?\r"));
    EXPECT_EQ(ReadUpTo(32), "");
    EXPECT_EQ(line.Log().size(), 1u);
}

TEST_F(EmulatedLine, LateReplyMissesItsReadAndStartsTheNext) {
    OpenWith(kShort);  // total for 32 bytes: 74 ms
    camera.SetFaults({.lateMs = 300});
    ASSERT_TRUE(Send("MDE?\r"));
    EXPECT_EQ(ReadUpTo(32), "");
    ASSERT_TRUE(Send("GAE?\r"));
    EXPECT_EQ(ReadUpTo(32), "MDE CS\r");  // the previous reply, not this one
    EXPECT_EQ(ReadUpTo(32), "GAE 0\r");   // a later read picks up what came since
}

TEST_F(EmulatedLine, LateReplyWithinTheTotalTimeoutArrivesInTime) {
    OpenWith(kHost);  // 33 s for 32 bytes
    camera.SetFaults({.lateMs = 300});
    ASSERT_TRUE(Send("MDE?\r"));
    EXPECT_EQ(ReadUpTo(32), "MDE CS\r");
}

TEST_F(EmulatedLine, PiecesSlowerThanTheIntervalEndEachReadAfterOneByte) {
    OpenWith(kHost);
    camera.SetFaults({.piecesMs = 50});  // faster than the 100 ms interval
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
    s.baudRate = 9600;
    s.xonXoffInput = true;
    EXPECT_TRUE(line.SetSettings(s));
    EXPECT_TRUE(line.Settings().xonXoffInput);
}

TEST_F(EmulatedLine, ReopeningStartsWithEmptyQueues) {
    OpenWith(kHost);
    ASSERT_TRUE(Send("MDE?\r"));
    line.Close();
    ASSERT_TRUE(line.Open("COM1"));
    EXPECT_EQ(line.PendingBytes(), 0u);
    EXPECT_EQ(ReadUpTo(32), "");
}

}  // namespace
}  // namespace qm71::sim
