// qm71-camsim as a child process of the test on a pseudo-terminal, reached
// through a link that QM71_COMn names. QM71_CAMSIM_PATH is its path.
#include "testing/camsim.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/posix/posix_serial_line.h"

extern char** environ;

namespace qm71::testing {

std::unique_ptr<SerialLine> MakeSystemSerialLine() {
    return std::make_unique<PosixSerialLine>();
}

Camsim::Camsim(const std::string& port, const std::vector<std::string>& options) : port_(port) {
    const std::string link =
        ::testing::TempDir() + "camsim-" + port + "-" + std::to_string(::getpid());
    std::vector<std::string> args{QM71_CAMSIM_PATH, "--link", link};
    args.insert(args.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    int out[2];
    EXPECT_EQ(::pipe2(out, O_CLOEXEC), 0);
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    EXPECT_EQ(::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    process_ = pid;
    // The terminal's path comes on the first line, once the link is in place.
    char c = 0;
    while (::read(out[0], &c, 1) == 1 && c != '\n') {
    }
    ::close(out[0]);
    ::setenv(("QM71_" + port).c_str(), link.c_str(), 1);
}

Camsim::~Camsim() {
    if (process_ <= 0) return;
    ::kill(static_cast<pid_t>(process_), SIGTERM);
    ::waitpid(static_cast<pid_t>(process_), nullptr, 0);
}

}  // namespace qm71::testing
