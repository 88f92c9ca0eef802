// The real serial class against the emulator, the way the viewer uses it:
// COMn named through QM71_COMn, one write and one read per exchange.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <array>
#include <filesystem>

#include "camsim_process.h"
#include "platform/posix/posix_serial_line.h"
#include "sim/camera/area_camera.h"
#include "sim/camera/camera_protocol.h"

namespace qm71::sim::testing {
namespace {

// Starts an emulator behind a link and lets `variable` name it.
void StartBehind(CamsimProcess& camsim, const char* variable, std::vector<std::string> args = {}) {
    const auto link = std::filesystem::path(::testing::TempDir()) /
                      (std::string("camsim-") + variable + "-" + std::to_string(getpid()));
    args.insert(args.end(), {"--link", link.string()});
    ASSERT_TRUE(camsim.Start(args));
    ASSERT_EQ(setenv(variable, link.c_str(), 1), 0);
}

// The viewer's line settings: 9600 8N1 with XON/XOFF both ways.
void Configure(PosixSerialLine& line, const SerialTimeouts& timeouts) {
    SerialSettings s;
    ASSERT_TRUE(line.GetSettings(s));
    s = SerialSettings{};
    s.xonXoffInput = s.xonXoffOutput = true;
    ASSERT_TRUE(line.SetSettings(s));
    ASSERT_TRUE(line.SetTimeouts(timeouts));
}

// One exchange as the viewer makes it; `elapsed` is the read's duration.
std::string Exchange(PosixSerialLine& line, std::string_view command, std::size_t readCount,
                     Ms* elapsed = nullptr) {
    std::size_t written = 0;
    EXPECT_TRUE(line.Write(ToBytes(command), written));
    EXPECT_EQ(written, command.size());
    std::array<std::byte, 64> buf{};
    const auto start = std::chrono::steady_clock::now();
    const std::size_t got = line.Read(std::span(buf).first(readCount));
    if (elapsed) {
        *elapsed = std::chrono::duration_cast<Ms>(std::chrono::steady_clock::now() - start);
    }
    return ToText(std::span(buf).first(got));
}

TEST(CamsimPosixLine, ReplyIsReadWholeAndTheIntervalEndsTheRead) {
    CamsimProcess camsim;
    StartBehind(camsim, "QM71_COM1");
    PosixSerialLine line;
    ASSERT_TRUE(line.Open("COM1"));
    Configure(line, {50, 2, 500, 10, 100});  // total for 32 bytes: 564 ms

    Ms elapsed{};
    EXPECT_EQ(Exchange(line, "MDE?\r", 32, &elapsed), "MDE CS\r");
    EXPECT_LT(elapsed.count(), 400);
    EXPECT_EQ(Exchange(line, "BKE -20\r", 32), "\r");
    EXPECT_EQ(Exchange(line, "BKE?\r", 32), "BKE -20\r");
    EXPECT_EQ(Exchange(line, "IDN?\r", 64), std::string(AreaCamera::kIdentity) + "\r");
    EXPECT_TRUE(camsim.WaitForLog(R"(received "BKE -20\r")", Ms(1000)));
}

TEST(CamsimPosixLine, SilentCameraEndsTheReadByTheTotalTimeout) {
    CamsimProcess camsim;
    StartBehind(camsim, "QM71_COM1", {"--silent"});
    PosixSerialLine line;
    ASSERT_TRUE(line.Open("COM1"));
    Configure(line, {50, 2, 100, 10, 100});  // total for 32 bytes: 164 ms

    Ms elapsed{};
    EXPECT_EQ(Exchange(line, "MDE?\r", 32, &elapsed), "");
    EXPECT_GE(elapsed.count(), 160);
    EXPECT_LT(elapsed.count(), 800);
}

TEST(CamsimPosixLine, LateReplyIsReadAsTheStartOfTheNextReply) {
    CamsimProcess camsim;
    StartBehind(camsim, "QM71_COM1", {"--late", "300"});
    PosixSerialLine line;
    ASSERT_TRUE(line.Open("COM1"));
    Configure(line, {50, 0, 200, 10, 100});

    EXPECT_EQ(Exchange(line, "MDE?\r", 32), "");          // ends at 200 ms
    EXPECT_EQ(Exchange(line, "GAE?\r", 32), "MDE CS\r");  // MDE reply comes at 300 ms
}

TEST(CamsimPosixLine, HeldCom1LeavesCom2AndClosingTwiceClosesOnce) {
    CamsimProcess first;
    CamsimProcess second;
    StartBehind(first, "QM71_COM1");
    StartBehind(second, "QM71_COM2");

    PosixSerialLine holder;
    ASSERT_TRUE(holder.Open("COM1"));
    PosixSerialLine viewer;
    EXPECT_FALSE(viewer.Open("COM1"));
    ASSERT_TRUE(viewer.Open("COM2"));
    Configure(viewer, {50, 2, 500, 10, 100});
    EXPECT_EQ(Exchange(viewer, "DEF?\r", 32), "DEF ON\r");
    EXPECT_TRUE(second.WaitForLog(R"(received "DEF?\r")", Ms(1000)));

    holder.Close();
    PosixSerialLine next;
    ASSERT_TRUE(next.Open("COM1"));  // released by the first close
    holder.Close();                  // must not touch what `next` holds
    EXPECT_FALSE(holder.IsOpen());
    Configure(next, {50, 2, 500, 10, 100});
    EXPECT_EQ(Exchange(next, "STP?\r", 32), "STP P\r");
}

}  // namespace
}  // namespace qm71::sim::testing
