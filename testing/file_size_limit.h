#pragma once

// For tests of saving: runs a save in a child process whose files may grow to
// at most `limit` bytes, so that a write fails partway with EFBIG, as it would
// on a full disk. Returns the child's result.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <string>

#include "common/bmp_file.h"

namespace qm71::testing {

template <typename Save>
SaveResult WithFileSizeLimit(rlim_t limit, Save save) {
    int pipeFds[2];
    EXPECT_EQ(::pipe(pipeFds), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(pipeFds[0]);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit rl{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &rl);
        const SaveResult r = save();
        const char status = static_cast<char>(r.status);
        (void)!::write(pipeFds[1], &status, 1);
        (void)!::write(pipeFds[1], r.reason.data(), r.reason.size());
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    std::string got;
    char buf[256];
    ssize_t n;
    while ((n = ::read(pipeFds[0], buf, sizeof buf)) > 0)
        got.append(buf, static_cast<std::size_t>(n));
    ::close(pipeFds[0]);
    int wstatus = 0;
    ::waitpid(pid, &wstatus, 0);
    EXPECT_TRUE(WIFEXITED(wstatus));
    if (got.empty()) return {SaveStatus::kFailed, "child reported nothing"};
    return {static_cast<SaveStatus>(got[0]), got.substr(1)};
}

}  // namespace qm71::testing
