#pragma once

// The camera emulator qm71-camsim as a child process on a pseudo-terminal,
// for the tests of the real serial line. The test target defines
// QM71_CAMSIM_PATH, the emulator's path.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

extern char** environ;

namespace qm71::testing {

// qm71-camsim with `options`, reached as COMn through `variable` and `link`;
// ended with the test.
struct Camsim {
    Camsim(const std::string& variable, std::vector<std::string> options)
        : link(::testing::TempDir() + "camsim-" + variable + "-" + std::to_string(::getpid())) {
        options.insert(options.begin(), {QM71_CAMSIM_PATH, "--link", link});
        std::vector<char*> argv;
        for (auto& o : options) argv.push_back(o.data());
        argv.push_back(nullptr);
        int out[2];
        EXPECT_EQ(::pipe2(out, O_CLOEXEC), 0);
        posix_spawn_file_actions_t actions;
        ::posix_spawn_file_actions_init(&actions);
        ::posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        EXPECT_EQ(::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
        ::posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        // The terminal's path comes on the first line, once the link is in place.
        char c = 0;
        while (::read(out[0], &c, 1) == 1 && c != '\n') {
        }
        ::close(out[0]);
        ::setenv(variable.c_str(), link.c_str(), 1);
    }
    ~Camsim() {
        ::kill(pid, SIGTERM);
        ::waitpid(pid, nullptr, 0);
    }
    const std::string link;
    pid_t pid = -1;
};

}  // namespace qm71::testing
