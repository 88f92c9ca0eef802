#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "camsim_process.h"

namespace qm71::sim::testing {
namespace {

constexpr Ms kReplyWait{1000};

TEST(Camsim, AnswersQueriesLogsThemAndEndsCleanlyOnSigterm) {
    CamsimProcess camsim;
    ASSERT_TRUE(camsim.Start({}));
    EXPECT_TRUE(camsim.PtyPath().starts_with("/dev/"));
    SlaveEnd port(camsim.PtyPath());
    ASSERT_TRUE(port.IsOpen());

    ASSERT_TRUE(port.Send("MDE?\r"));
    EXPECT_EQ(port.Read(7, kReplyWait), "MDE CS\r");
    EXPECT_TRUE(camsim.WaitForLog(R"(camsim: received "MDE?\r")", kReplyWait)) << camsim.LogSoFar();
    EXPECT_TRUE(camsim.WaitForLog(R"(camsim: reply "MDE CS\r")", kReplyWait)) << camsim.LogSoFar();

    // Joined commands, and state kept between them.
    ASSERT_TRUE(port.Send("GAE 24\rGAE?\r"));
    EXPECT_EQ(port.Read(8, kReplyWait), "\rGAE 24\r");
    EXPECT_TRUE(camsim.WaitForLog(R"(camsim: received "GAE 24\r")", kReplyWait));

    EXPECT_EQ(camsim.Stop(SIGTERM, Ms(1000)), 0);
}

TEST(Camsim, SilentCameraSaysNothingAndSigintEndsIt) {
    CamsimProcess camsim;
    ASSERT_TRUE(camsim.Start({"--silent"}));
    SlaveEnd port(camsim.PtyPath());
    ASSERT_TRUE(port.Send("MDE?\r"));
    EXPECT_EQ(port.Read(1, Ms(200)), "");
    EXPECT_TRUE(camsim.WaitForLog(R"(camsim: received "MDE?\r")", kReplyWait));
    EXPECT_TRUE(camsim.WaitForLog("camsim: no reply", kReplyWait));
    EXPECT_EQ(camsim.Stop(SIGINT, Ms(1000)), 0);
}

TEST(Camsim, RefusingAndGarbledCameras) {
    CamsimProcess refusing;
    ASSERT_TRUE(refusing.Start({"--refuse"}));
    SlaveEnd port(refusing.PtyPath());
    ASSERT_TRUE(port.Send("MDE?\r"));
    EXPECT_EQ(port.Read(4, kReplyWait), "ERR\r");

    CamsimProcess garbled;
    ASSERT_TRUE(garbled.Start({"--garbage"}));
    SlaveEnd port2(garbled.PtyPath());
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(port2.Send("MDE?\r"));
    const std::string noise = port2.Read(64, Ms(300));
    EXPECT_FALSE(noise.empty());
    EXPECT_EQ(noise.find_first_of("\x11\x13"), std::string::npos);  // never flow control
}

TEST(Camsim, LateReplyComesAfterTheDelayAndNotBefore) {
    CamsimProcess camsim;
    ASSERT_TRUE(camsim.Start({"--late", "300"}));
    SlaveEnd port(camsim.PtyPath());
    ASSERT_TRUE(port.Send("MDE?\r"));
    const auto chunks = port.ReadChunks(7, kReplyWait);
    ASSERT_FALSE(chunks.empty());
    EXPECT_GE(chunks.front().at.count(), 299);
    std::string all;
    for (const auto& c : chunks) all += c.bytes;
    EXPECT_EQ(all, "MDE CS\r");
}

TEST(Camsim, PiecesArriveSpreadOut) {
    CamsimProcess camsim;
    ASSERT_TRUE(camsim.Start({"--pieces=40"}));
    SlaveEnd port(camsim.PtyPath());
    ASSERT_TRUE(port.Send("MDE?\r"));
    const auto chunks = port.ReadChunks(7, kReplyWait);
    std::string all;
    for (const auto& c : chunks) all += c.bytes;
    EXPECT_EQ(all, "MDE CS\r");
    EXPECT_GE(chunks.size(), 4u);
    ASSERT_FALSE(chunks.empty());
    // The last of 7 bytes leaves 6 gaps after the command came in.
    EXPECT_GE(chunks.back().at.count(), 6 * 40 - 1);
}

TEST(Camsim, SurvivesThePortBeingOpenedAndClosedManyTimes) {
    CamsimProcess camsim;
    ASSERT_TRUE(camsim.Start({}));
    const long ticksBefore = camsim.CpuTicks();
    for (int i = 0; i < 25; ++i) {
        SlaveEnd port(camsim.PtyPath());
        ASSERT_TRUE(port.IsOpen()) << "open " << i;
        ASSERT_TRUE(port.Send("DEF?\r"));
        ASSERT_EQ(port.Read(7, kReplyWait), "DEF ON\r") << "round " << i;
    }
    {
        // With nobody on the line it must idle, not spin on a hang-up.
        SlaveEnd port(camsim.PtyPath());
        EXPECT_EQ(port.Read(1, Ms(150)), "");
    }
    const long ticksAfter = camsim.CpuTicks();
    ASSERT_GE(ticksBefore, 0);
    EXPECT_LT(ticksAfter - ticksBefore, sysconf(_SC_CLK_TCK) / 5);
    EXPECT_EQ(camsim.Stop(SIGTERM, Ms(1000)), 0);
}

TEST(Camsim, SampleByteProtocol) {
    CamsimProcess camsim;
    ASSERT_TRUE(camsim.Start({"--sample"}));
    SlaveEnd port(camsim.PtyPath());
    ASSERT_TRUE(port.Send(std::string("\x03\x0a\x10\x01\x02\x08\x00", 7)));
    EXPECT_EQ(port.Read(2, kReplyWait), std::string("\x00\x01", 2));
    EXPECT_TRUE(camsim.WaitForLog("camsim: received 03 0A 10 01", kReplyWait)) << camsim.LogSoFar();
}

TEST(Camsim, LinkPointsToThePtyAndIsRemovedAtExit) {
    const std::filesystem::path dir = ::testing::TempDir();
    const auto link = dir / ("camsim-link-" + std::to_string(getpid()));
    std::filesystem::remove(link);
    std::filesystem::create_symlink("/nonexistent-old-target", link);  // stale link is replaced

    CamsimProcess camsim;
    ASSERT_TRUE(camsim.Start({"--link", link.string()}));
    EXPECT_EQ(std::filesystem::read_symlink(link), camsim.PtyPath());
    SlaveEnd port(link.string());
    ASSERT_TRUE(port.Send("STP?\r"));
    EXPECT_EQ(port.Read(6, kReplyWait), "STP P\r");
    EXPECT_EQ(camsim.Stop(SIGTERM, Ms(1000)), 0);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
}

TEST(Camsim, LinkNeverReplacesARegularFile) {
    const auto file =
        std::filesystem::path(::testing::TempDir()) / ("camsim-file-" + std::to_string(getpid()));
    std::ofstream(file) << "keep me";
    CamsimProcess camsim;
    EXPECT_FALSE(camsim.Start({"--link", file.string()}));
    EXPECT_EQ(camsim.Stop(0, Ms(1000)), 1);
    std::ifstream in(file);
    std::string content;
    std::getline(in, content);
    EXPECT_EQ(content, "keep me");
    std::filesystem::remove(file);
}

}  // namespace
}  // namespace qm71::sim::testing
