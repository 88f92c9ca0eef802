#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

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

TEST(Camsim, ContentFaultOptions) {
    CamsimProcess silent, refusing, garbled;
    ASSERT_TRUE(silent.Start({"--silent"}));
    ASSERT_TRUE(refusing.Start({"--refuse"}));
    ASSERT_TRUE(garbled.Start({"--garbage"}));
    SlaveEnd quiet(silent.PtyPath()), no(refusing.PtyPath()), noisy(garbled.PtyPath());
    ASSERT_TRUE(quiet.Send("MDE?\r") && no.Send("MDE?\r"));
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(noisy.Send("MDE?\r"));

    EXPECT_EQ(no.Read(4, kReplyWait), "ERR\r");
    const std::string noise = noisy.Read(64, Ms(300));
    EXPECT_FALSE(noise.empty());
    EXPECT_EQ(noise.find_first_of("\x11\x13"), std::string::npos);  // never flow control
    EXPECT_EQ(quiet.Read(1, Ms(200)), "");
    EXPECT_TRUE(silent.WaitForLog(R"(camsim: received "MDE?\r")", kReplyWait));
    EXPECT_TRUE(silent.WaitForLog("camsim: no reply", kReplyWait));
    EXPECT_EQ(silent.Stop(SIGINT, Ms(1000)), 0);
}

TEST(Camsim, TimingFaultOptions) {
    struct Case {
        const char* option;
        bool lastChunk;  // which chunk's arrival is checked
        long atLeastMs;
        std::size_t minChunks;
    };
    // --pieces: the last of 7 bytes leaves 6 gaps after the command came in.
    for (const Case& c : {Case{"--late=300", false, 299, 1}, Case{"--pieces=40", true, 239, 3}}) {
        SCOPED_TRACE(c.option);
        CamsimProcess camsim;
        ASSERT_TRUE(camsim.Start({c.option}));
        SlaveEnd port(camsim.PtyPath());
        const auto sent = std::chrono::steady_clock::now();  // the camera cannot have it sooner
        ASSERT_TRUE(port.Send("MDE?\r"));
        const auto chunks = port.ReadChunks(7, kReplyWait);
        ASSERT_GE(chunks.size(), c.minChunks);
        const auto checked = (c.lastChunk ? chunks.back() : chunks.front()).at;
        EXPECT_GE(std::chrono::duration_cast<Ms>(checked - sent).count(), c.atLeastMs);
        std::string all;
        for (const auto& chunk : chunks) all += chunk.bytes;
        EXPECT_EQ(all, "MDE CS\r");
    }
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
    ASSERT_GE(ticksBefore, 0);
    EXPECT_LT(camsim.CpuTicks() - ticksBefore, sysconf(_SC_CLK_TCK) / 5);
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

TEST(Camsim, LinkReplacesOnlyAStaleLinkAndIsRemovedAtExit) {
    const std::filesystem::path dir = ::testing::TempDir();
    const auto link = dir / ("camsim-link-" + std::to_string(getpid()));
    std::filesystem::remove(link);
    std::filesystem::create_symlink("/nonexistent-old-target", link);
    {
        CamsimProcess camsim;
        ASSERT_TRUE(camsim.Start({"--link", link.string()}));
        EXPECT_EQ(std::filesystem::read_symlink(link), camsim.PtyPath());
        SlaveEnd port(link.string());
        ASSERT_TRUE(port.Send("STP?\r"));
        EXPECT_EQ(port.Read(6, kReplyWait), "STP P\r");
        EXPECT_EQ(camsim.Stop(SIGTERM, Ms(1000)), 0);
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
    }
    // A regular file in the link's place is left alone and the program refuses to start.
    const auto file = dir / ("camsim-file-" + std::to_string(getpid()));
    std::ofstream(file) << "keep me";
    CamsimProcess camsim;
    EXPECT_FALSE(camsim.Start({"--link", file.string()}));
    EXPECT_EQ(camsim.Stop(0, Ms(1000)), 1);
    std::string content;
    std::getline(std::ifstream(file), content);
    EXPECT_EQ(content, "keep me");
    std::filesystem::remove(file);
}

}  // namespace
}  // namespace qm71::sim::testing
