#include "platform/posix/posix_serial_line.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pthread.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "testing/scripted_line.h"

namespace qm71 {
namespace {

using namespace std::chrono_literals;
using Ms = std::chrono::milliseconds;

// The line under test on the slave side of a pseudo-terminal; the test plays
// the far end on the master side. Reads and writes end on their time-outs,
// through a signal, or at once when the watcher, asked every 25 ms of waiting,
// gives up.
TEST(PosixSerialLine, WaitsEndOnTheirTimeoutsOrTheWatcher) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_TRUE(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
    const std::string slave = ::ptsname(master);
    PosixSerialLine line;
    testing::RecordingWatcher watcher;
    ASSERT_TRUE(line.Open(slave));
    ASSERT_TRUE(line.SetSettings(SerialSettings{}));
    line.SetWaitWatcher(&watcher);

    struct sigaction action {};
    action.sa_handler = [](int) {};
    ASSERT_EQ(::sigaction(SIGUSR1, &action, nullptr), 0);  // no SA_RESTART: poll gets EINTR
    const pthread_t reader = ::pthread_self();
    const struct {
        const char* what;
        SerialTimeouts timeouts;
        std::vector<std::pair<Ms, const char*>> peer;  // what the far end sends when; null: signal
        bool giveUp;
        std::string reply;
        Ms atLeast, below;
    } cases[] = {
        {"interval", {100, 0, 800}, {{10ms, "OK"}, {30ms, "\r"}}, false, "OK\r", 100ms, 400ms},
        {"5 * 8 + 140, signalled", {20, 5, 140}, {{20ms, nullptr}}, false, "", 180ms, 400ms},
        {"watcher gives up", {20, 0, 800}, {}, true, "", 20ms, 100ms},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(line.SetTimeouts(c.timeouts));
        watcher.ports.clear();
        watcher.ended = 0;
        watcher.keepWaiting = [&] { return !c.giveUp; };
        const auto start = std::chrono::steady_clock::now();
        std::jthread peer([&] {
            for (const auto& [at, text] : c.peer) {
                std::this_thread::sleep_until(start + at);
                text ? void(::write(master, text, std::strlen(text)))
                     : void(::pthread_kill(reader, SIGUSR1));
            }
        });
        std::vector<std::byte> buffer(c.reply.empty() ? 8 : 32);
        std::size_t got = 0;
        EXPECT_TRUE(line.Read(buffer, got));
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer.data()), got), c.reply);
        EXPECT_GE(took, c.atLeast);
        EXPECT_LT(took, c.below);
        const auto asked = static_cast<long>(watcher.ports.size());
        EXPECT_LE(asked, took / kSerialWatchInterval + 1);
        EXPECT_GE(asked, took / kSerialWatchInterval / 2);
        EXPECT_EQ(watcher.ports.at(0), slave);
        EXPECT_EQ(watcher.ended, 1);
    }

    // Nobody reads: a write stops at its total time-out and says how much went.
    ASSERT_TRUE(line.SetTimeouts({0, 0, 0, 0, 50}));
    watcher.keepWaiting = [] { return true; };
    const std::string data(1 << 20, 'w');
    std::size_t written = 0;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(line.Write(std::as_bytes(std::span(data)), written));
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, 50ms);
    EXPECT_LT(took, 500ms);
    EXPECT_GT(written, 0u);
    EXPECT_LT(written, data.size());

    // The far end hangs up: the read fails, where silence would not.
    ASSERT_TRUE(line.SetTimeouts({20, 0, 400}));
    ::close(master);
    std::vector<std::byte> buffer(8);
    EXPECT_FALSE(line.Read(buffer, written));
    line.Close();
}

}  // namespace
}  // namespace qm71
