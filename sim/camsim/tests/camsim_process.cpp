#include "camsim_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace qm71::sim::testing {

namespace {

using Clock = std::chrono::steady_clock;

Ms Left(Clock::time_point deadline) {
    return std::max(Ms(0), std::chrono::duration_cast<Ms>(deadline - Clock::now()));
}

// Appends what `fd` has within `timeout`; false on time-out or end of file.
bool ReadMore(int fd, std::string& into, Ms timeout) {
    pollfd pfd{fd, POLLIN, 0};
    if (poll(&pfd, 1, static_cast<int>(timeout.count())) <= 0) return false;
    char buf[512];
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n <= 0) return false;
    into.append(buf, static_cast<std::size_t>(n));
    return true;
}

}  // namespace

CamsimProcess::~CamsimProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (outFd_ >= 0) close(outFd_);
    if (errFd_ >= 0) close(errFd_);
}

bool CamsimProcess::Start(const std::vector<std::string>& args) {
    int out[2];
    int err[2];
    if (pipe2(out, O_CLOEXEC) != 0) return false;
    outFd_ = out[0];
    if (pipe2(err, O_CLOEXEC) != 0) return close(out[1]), false;
    errFd_ = err[0];
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    std::vector<std::string> all{QM71_CAMSIM_PATH};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    const int rc = posix_spawn(&pid_, QM71_CAMSIM_PATH, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(err[1]);
    if (rc != 0) return pid_ = -1, false;

    std::string outText;
    const auto deadline = Clock::now() + Ms(2000);
    while (outText.find('\n') == std::string::npos) {
        if (!ReadMore(outFd_, outText, Left(deadline))) return false;
    }
    ptyPath_ = outText.substr(0, outText.find('\n'));
    return !ptyPath_.empty();
}

long CamsimProcess::CpuTicks() const {
    std::ifstream in("/proc/" + std::to_string(pid_) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // After "pid (name) " come state and ten more fields, then utime, stime.
    const std::size_t nameEnd = stat.rfind(')');
    if (nameEnd == std::string::npos) return -1;
    std::istringstream fields(stat.substr(nameEnd + 2));
    std::string skip;
    for (int i = 0; i < 11; ++i) fields >> skip;
    long utime = -1;
    long stime = -1;
    fields >> utime >> stime;
    return utime < 0 || stime < 0 ? -1 : utime + stime;
}

bool CamsimProcess::WaitForLog(const std::string& text, Ms timeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        std::size_t lineEnd;
        while ((lineEnd = errText_.find('\n', errSeen_)) != std::string::npos) {
            const std::string line = errText_.substr(errSeen_, lineEnd - errSeen_);
            errSeen_ = lineEnd + 1;
            if (line.find(text) != std::string::npos) return true;
        }
        if (!ReadMore(errFd_, errText_, Left(deadline))) return false;
    }
}

std::optional<int> CamsimProcess::Stop(int signal, Ms timeout) {
    if (pid_ <= 0) return std::nullopt;
    kill(pid_, signal);
    const auto deadline = Clock::now() + timeout;
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_) break;
        if (done < 0 || Clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(Ms(5));  // polling a child's exit, not waiting out time
    }
    pid_ = -1;
    if (!WIFEXITED(status)) return std::nullopt;
    return WEXITSTATUS(status);
}

SlaveEnd::SlaveEnd(const std::string& path) {
    fd_ = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    termios t{};
    if (fd_ >= 0 && tcgetattr(fd_, &t) != 0) {
        close(fd_);
        fd_ = -1;
    }
    if (fd_ < 0) return;
    cfmakeraw(&t);
    cfsetspeed(&t, B9600);
    tcsetattr(fd_, TCSANOW, &t);
}

SlaveEnd::~SlaveEnd() {
    if (fd_ >= 0) close(fd_);
}

bool SlaveEnd::Send(const std::string& text) {
    return write(fd_, text.data(), text.size()) == static_cast<ssize_t>(text.size());
}

std::vector<SlaveEnd::Chunk> SlaveEnd::ReadChunks(std::size_t count, Ms timeout) {
    const auto deadline = Clock::now() + timeout;
    std::vector<Chunk> chunks;
    std::size_t total = 0;
    while (total < count) {
        pollfd pfd{fd_, POLLIN, 0};
        if (poll(&pfd, 1, static_cast<int>(Left(deadline).count())) <= 0) break;
        char buf[256];
        const ssize_t n = read(fd_, buf, std::min(sizeof buf, count - total));
        if (n < 0 && errno == EAGAIN) continue;
        if (n <= 0) break;
        chunks.push_back({std::string(buf, static_cast<std::size_t>(n)), Clock::now()});
        total += static_cast<std::size_t>(n);
    }
    return chunks;
}

std::string SlaveEnd::Read(std::size_t count, Ms timeout) {
    std::string all;
    for (const Chunk& c : ReadChunks(count, timeout)) all += c.bytes;
    return all;
}

}  // namespace qm71::sim::testing
