#pragma once

// For tests of saving: runs a write in a child process, with files limited to
// `limit` bytes so that it fails partway with EFBIG as on a full disk, or as
// an ordinary user ("nobody"; root may write into any folder).
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <string>

#include "platform/atomic_file.h"

namespace qm71::testing {

template <typename Write>
WriteResult InChild(Write write, rlim_t limit, bool ordinaryUser) {
    int fds[2];
    EXPECT_EQ(::pipe(fds), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit rl{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &rl);
        if (ordinaryUser && ::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(1);
        const WriteResult r = write();
        const std::string out = static_cast<char>(r.status) + r.reason;
        ::_exit(::write(fds[1], out.data(), out.size()) < 0);
    }
    ::close(fds[1]);
    std::string got;
    char buf[256];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;) got.append(buf, std::size_t(n));
    ::close(fds[0]);
    ::waitpid(pid, nullptr, 0);
    if (got.empty()) return {WriteStatus::kFailed, "child reported nothing"};
    return {static_cast<WriteStatus>(got[0]), got.substr(1)};
}

template <typename Write>
WriteResult WithFileSizeLimit(rlim_t limit, Write write) {
    return InChild(write, limit, false);
}

template <typename Write>
WriteResult AsOrdinaryUser(Write write) {
    return InChild(write, RLIM_INFINITY, true);
}

}  // namespace qm71::testing
