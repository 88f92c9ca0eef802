#include "platform/posix/posix_serial_line.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <string_view>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

namespace qm71 {
namespace {

using namespace std::chrono_literals;
using Ms = std::chrono::milliseconds;
using SteadyClock = std::chrono::steady_clock;

// A pseudo-terminal: the line under test opens the slave side, the test plays
// the far end on the master side.
class Pty {
  public:
    Pty() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0) {
            slave_ = ::ptsname(master_);
        }
    }
    ~Pty() {
        if (master_ >= 0) ::close(master_);
    }
    const std::string& Slave() const { return slave_; }

    void Send(std::string_view bytes) const {
        ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    // Whatever arrives, up to `limit` bytes, until nothing more has come for `quiet`.
    std::string Receive(std::size_t limit, Ms quiet = 50ms) const {
        std::string got;
        char buf[4096];
        pollfd p{master_, POLLIN, 0};
        while (got.size() < limit && ::poll(&p, 1, static_cast<int>(quiet.count())) > 0) {
            const ssize_t n = ::read(master_, buf, std::min(sizeof buf, limit - got.size()));
            if (n <= 0) break;
            got.append(buf, static_cast<std::size_t>(n));
        }
        return got;
    }

  private:
    int master_ = -1;
    std::string slave_;
};

std::span<const std::byte> Bytes(std::string_view s) {
    return std::as_bytes(std::span(s));
}

class PosixSerialLineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(pty_.Slave().empty());
        ASSERT_TRUE(line_.Open(pty_.Slave()));
        ASSERT_TRUE(line_.SetSettings(CameraSettings()));
    }
    static SerialSettings CameraSettings() {
        SerialSettings s;  // 9600 8N1, lines not asserted
        s.xonXoffOutput = true;
        s.xonXoffInput = true;
        return s;
    }
    void Timeouts(int interval, int perByte, int constant, int writeConstant = 0) {
        ASSERT_TRUE(line_.SetTimeouts({interval, perByte, constant, 0, writeConstant}));
    }
    // One read of up to n bytes; `took` is how long it ran.
    std::string ReadText(std::size_t n, Ms* took = nullptr) {
        std::vector<std::byte> buf(n);
        const auto start = SteadyClock::now();
        const std::size_t got = line_.Read(buf);
        if (took) *took = std::chrono::duration_cast<Ms>(SteadyClock::now() - start);
        EXPECT_LE(got, n);
        return {reinterpret_cast<const char*>(buf.data()), got};
    }

    Pty pty_;
    PosixSerialLine line_;
};

TEST(SerialDevicePath, ComNamesFollowTheEnvironmentOtherNamesArePaths) {
    ::unsetenv("QM71_COM1");
    ::setenv("QM71_COM2", "", 1);
    EXPECT_EQ(SerialDevicePath("COM1"), "/dev/ttyS0");
    EXPECT_EQ(SerialDevicePath("COM2"), "/dev/ttyS1");  // empty counts as unset
    ::setenv("QM71_COM2", "/dev/ttyUSB0", 1);
    EXPECT_EQ(SerialDevicePath("com2"), "/dev/ttyUSB0");
    EXPECT_EQ(SerialDevicePath("COM3"), "COM3");
    EXPECT_EQ(SerialDevicePath("/dev/ttyACM0"), "/dev/ttyACM0");
    ::unsetenv("QM71_COM2");

    Pty pty;
    ::setenv("QM71_COM1", pty.Slave().c_str(), 1);
    PosixSerialLine line;
    EXPECT_TRUE(line.Open("COM1"));
    ::unsetenv("QM71_COM1");
    std::size_t written = 0;
    EXPECT_TRUE(line.SetSettings(SerialSettings{}) && line.Write(Bytes("MDE?\r"), written));
    EXPECT_EQ(pty.Receive(5), "MDE?\r");
}

TEST(PosixSerialLineOpen, PortIsExclusiveUntilClosed) {
    Pty first, second;
    PosixSerialLine a, b;
    ASSERT_TRUE(a.Open(first.Slave()));
    EXPECT_FALSE(b.Open(first.Slave()));
    EXPECT_FALSE(b.IsOpen());
    a.Close();
    a.Close();  // harmless
    ASSERT_TRUE(b.Open(first.Slave()));
    // Re-opening an open object lets go of the port it held.
    ASSERT_TRUE(b.Open(second.Slave()));
    EXPECT_TRUE(a.Open(first.Slave()));
}

TEST(PosixSerialLineOpen, MissingPathsAndPlainFilesAreNoPorts) {
    PosixSerialLine line;
    EXPECT_FALSE(line.Open("/nonexistent/ttyS9"));
    char file[] = "/tmp/qm71-serial-XXXXXX";
    const int fd = ::mkstemp(file);
    ASSERT_GE(fd, 0);
    EXPECT_FALSE(line.Open(file));
    ::close(fd);
    ::unlink(file);

    // A closed line refuses everything.
    SerialSettings s;
    std::size_t written = 7;
    std::byte buf[4];
    EXPECT_FALSE(line.GetSettings(s) || line.SetSettings(s) || line.SetTimeouts({}));
    EXPECT_FALSE(line.Write(Bytes("x"), written));
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(line.Read(buf), 0u);
}

auto Fields(const SerialSettings& s) {
    return std::tuple(s.baudRate, s.dataBits, s.parity, s.stopBits, s.ctsOutputFlow,
                      s.dsrOutputFlow, s.dtr, s.rts, s.xonXoffOutput, s.xonXoffInput, s.xonChar,
                      s.xoffChar);
}

TEST_F(PosixSerialLineTest, SettingsRoundTripAndImpossibleOnesChangeNothing) {
    SerialSettings got;
    got.baudRate = 0;
    ASSERT_TRUE(line_.GetSettings(got));
    EXPECT_EQ(Fields(got), Fields(CameraSettings()));

    std::vector<SerialSettings> bad(5, CameraSettings());
    bad[0].baudRate = 12345;
    bad[1].dataBits = 9;
    bad[2].stopBits = SerialSettings::StopBits::OneAndHalf;  // only with 5 data bits
    bad[3].dataBits = 5;
    bad[3].stopBits = SerialSettings::StopBits::Two;
    bad[4].xoffChar = bad[4].xonChar;
    for (const auto& s : bad) EXPECT_FALSE(line_.SetSettings(s));
    ASSERT_TRUE(line_.GetSettings(got));
    EXPECT_EQ(Fields(got), Fields(CameraSettings()));

    // A pseudo-terminal keeps rate, stop bits and handshake, but may force
    // 8 bits without parity, so those stay as they are.
    SerialSettings other;
    other.baudRate = 115200;
    other.stopBits = SerialSettings::StopBits::Two;
    other.ctsOutputFlow = true;
    other.rts = SerialSettings::LineControl::Handshake;
    ASSERT_TRUE(line_.SetSettings(other));
    ASSERT_TRUE(line_.GetSettings(got));
    EXPECT_EQ(Fields(got), Fields(other));
}

TEST_F(PosixSerialLineTest, ReadEndsAfterIntervalOrTotal) {
    struct sigaction action {};
    action.sa_handler = [](int) {};
    ASSERT_EQ(::sigaction(SIGUSR1, &action, nullptr), 0);  // no SA_RESTART: poll gets EINTR
    const pthread_t reader = ::pthread_self();
    struct Case {
        const char* what;
        SerialTimeouts timeouts;
        std::vector<std::pair<Ms, const char*>> peer;  // what the far end sends when; null: signal
        const char* reply;
        Ms atLeast, below;
    };
    const Case cases[] = {
        {"reply, then the interval",
         {100, 0, 800},
         {{10ms, "OK"}, {30ms, "\r"}},
         "OK\r",
         100ms,
         400ms},
        {"silence for 5 * 8 + 40", {20, 5, 40}, {}, "", 80ms, 400ms},
        {"signal during silence", {20, 0, 80}, {{20ms, nullptr}}, "", 80ms, 400ms},
        {"no total: first byte awaited", {20, 0, 0}, {{50ms, "A"}}, "A", 50ms, 400ms},
        {"all zero: at once", {0, 0, 0}, {}, "", 0ms, 20ms},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(line_.SetTimeouts(c.timeouts));
        const auto start = SteadyClock::now();
        std::jthread peer([&] {
            for (const auto& [at, text] : c.peer) {
                std::this_thread::sleep_until(start + at);
                text ? pty_.Send(text) : void(::pthread_kill(reader, SIGUSR1));
            }
        });
        Ms took{};
        EXPECT_EQ(ReadText(c.reply[0] ? 32 : 8, &took), c.reply);
        EXPECT_GE(took, c.atLeast);
        EXPECT_LT(took, c.below);
    }
}

TEST_F(PosixSerialLineTest, WhatDoesNotFitOrComesLateStartsTheNextRead) {
    Timeouts(100, 0, 800);
    // A 32-byte reply with a zero byte, line ends and 0xFF (raw mode must pass
    // them all), then 8 more bytes.
    std::string reply("\0\r\nAB\xff", 6);
    reply += std::string(34, 'x');
    pty_.Send(reply);
    Ms took{};
    EXPECT_EQ(ReadText(32, &took), reply.substr(0, 32));
    EXPECT_LT(took, 100ms);  // no wait for the interval once full
    EXPECT_EQ(ReadText(32), reply.substr(32));

    Timeouts(20, 0, 40);
    EXPECT_EQ(ReadText(32), "");
    pty_.Send("LATE\r");
    EXPECT_EQ(ReadText(32), "LATE\r");
}

TEST_F(PosixSerialLineTest, WriteWaitsForRoomWithoutTimeouts) {
    std::string data(200000, '\0');
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>('a' + i % 26);
    std::string received;
    std::jthread peer([&] { received = pty_.Receive(data.size(), 300ms); });
    std::size_t written = 0;
    EXPECT_TRUE(line_.Write(Bytes(data), written));
    EXPECT_EQ(written, data.size());
    peer.join();
    EXPECT_EQ(received, data);
}

TEST_F(PosixSerialLineTest, WriteToAStalledPeerTimesOutWithThePartialCount) {
    Timeouts(0, 0, 0, 50);
    const std::string data(1 << 20, 'w');
    std::size_t written = 0;
    const auto start = SteadyClock::now();
    EXPECT_FALSE(line_.Write(Bytes(data), written));
    const auto took = SteadyClock::now() - start;
    EXPECT_GE(took, 50ms);
    EXPECT_LT(took, 500ms);
    EXPECT_GT(written, 0u);
    EXPECT_LT(written, data.size());
    EXPECT_EQ(pty_.Receive(data.size()).size(), written);  // exactly what was reported
}

TEST_F(PosixSerialLineTest, XoffFromThePeerHoldsTheWriteUntilXon) {
    Timeouts(20, 0, 200, 40);
    pty_.Send(
        "\x13"
        "A");
    ASSERT_EQ(ReadText(1), "A");  // the stop character came before it and was taken
    std::size_t written = 9;
    EXPECT_FALSE(line_.Write(Bytes("Hi"), written));
    EXPECT_EQ(written, 0u);
    pty_.Send(
        "\x11"
        "B");
    ASSERT_EQ(ReadText(1), "B");
    EXPECT_TRUE(line_.Write(Bytes("Hi"), written));
    EXPECT_EQ(pty_.Receive(2), "Hi");
}

}  // namespace
}  // namespace qm71
