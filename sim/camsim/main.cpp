// qm71-camsim: the simulated area camera on a pseudo-terminal, so the real
// serial code can be run and tested without a camera.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "sim/camera/area_camera_protocol.h"
#include "sim/camera/sample_camera_protocol.h"
#include "sim/camsim/options.h"

namespace {

using qm71::sim::AreaCameraProtocol;
using qm71::sim::CameraFaults;
using qm71::sim::EscapeBytes;
using SteadyClock = std::chrono::steady_clock;

volatile sig_atomic_t g_stopRequested = 0;

void OnStopSignal(int) {
    g_stopRequested = 1;
}

void Log(const std::string& line) {
    const std::string text = "camsim: " + line + "\n";
    std::fputs(text.c_str(), stderr);
    std::fflush(stderr);
}

void LogErrno(const std::string& what) {
    Log(what + ": " + std::strerror(errno));
}

bool MakeRaw(int fd) {
    termios t{};
    if (tcgetattr(fd, &t) != 0) return false;
    cfmakeraw(&t);
    return tcsetattr(fd, TCSANOW, &t) == 0;
}

// The pseudo-terminal. The emulator holds a descriptor of the slave side
// itself, so the master never sees a hang-up when the host closes the port
// and the host can open and close it as often as it likes.
struct Pty {
    int master = -1;
    int heldSlave = -1;
    std::string slavePath;

    ~Pty() {
        if (heldSlave >= 0) close(heldSlave);
        if (master >= 0) close(master);
    }

    bool Open() {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0) return LogFailure("posix_openpt");
        if (grantpt(master) != 0) return LogFailure("grantpt");
        if (unlockpt(master) != 0) return LogFailure("unlockpt");
        const char* name = ptsname(master);
        if (name == nullptr) return LogFailure("ptsname");
        slavePath = name;
        heldSlave = open(name, O_RDWR | O_NOCTTY);
        if (heldSlave < 0) return LogFailure("open " + slavePath);
        // Until the host sets up the line, no echo and no line editing, or
        // our own replies would come back to us as commands.
        if (!MakeRaw(master) || !MakeRaw(heldSlave)) return LogFailure("raw mode");
        const int flags = fcntl(master, F_GETFL);
        if (flags < 0 || fcntl(master, F_SETFL, flags | O_NONBLOCK) != 0) {
            return LogFailure("fcntl");
        }
        return true;
    }

    static bool LogFailure(const std::string& what) {
        LogErrno(what);
        return false;
    }
};

// Symlink to the slave for a stable name; replaces an old link but never
// another kind of file. Removed again on exit if it still points to us.
class Link {
  public:
    ~Link() {
        if (path_.empty()) return;
        char buf[4096];
        const ssize_t n = readlink(path_.c_str(), buf, sizeof buf);
        if (n > 0 && std::string(buf, static_cast<std::size_t>(n)) == target_) {
            unlink(path_.c_str());
        }
    }

    bool Create(const std::string& path, const std::string& target) {
        struct stat st {};
        if (lstat(path.c_str(), &st) == 0) {
            if (!S_ISLNK(st.st_mode)) {
                Log(path + " exists and is not a symbolic link; not replacing it");
                return false;
            }
            if (unlink(path.c_str()) != 0) {
                LogErrno("unlink " + path);
                return false;
            }
        }
        if (symlink(target.c_str(), path.c_str()) != 0) {
            LogErrno("symlink " + path);
            return false;
        }
        path_ = path;
        target_ = target;
        return true;
    }

  private:
    std::string path_;
    std::string target_;
};

struct Outgoing {
    SteadyClock::time_point due;
    std::vector<std::byte> bytes;
};

class Server {
  public:
    Server(int master, std::unique_ptr<qm71::sim::CameraProtocol> camera,
           const CameraFaults& faults, bool binary)
        : master_(master), camera_(std::move(camera)), binary_(binary) {
        camera_->SetFaults(faults);
    }

    int Run(const sigset_t& waitMask) {
        std::vector<std::byte> buffer(256);
        while (!g_stopRequested) {
            pollfd pfd{master_, POLLIN, 0};
            timespec timeout{};
            timespec* timeoutPtr = nullptr;
            if (!queue_.empty()) {
                const auto wait = std::max(queue_.front().due - SteadyClock::now(),
                                           SteadyClock::duration::zero());
                const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wait);
                timeout.tv_sec = static_cast<time_t>(ns.count() / 1'000'000'000);
                timeout.tv_nsec = static_cast<long>(ns.count() % 1'000'000'000);
                timeoutPtr = &timeout;
            }
            const int ready = ppoll(&pfd, 1, timeoutPtr, &waitMask);
            if (ready < 0) {
                if (errno == EINTR) continue;
                LogErrno("poll");
                return 1;
            }
            if (ready > 0 && (pfd.revents & POLLIN) != 0) {
                const ssize_t n = read(master_, buffer.data(), buffer.size());
                if (n > 0) {
                    Handle(std::span(buffer).first(static_cast<std::size_t>(n)));
                } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
                    Backoff();
                }
            } else if (ready > 0) {
                // Hang-up or error with nothing to read: should not happen
                // while we hold the slave, but never spin on it.
                Backoff();
            }
            SendDue();
        }
        return 0;
    }

  private:
    static void Backoff() { usleep(50'000); }

    std::string Show(std::span<const std::byte> bytes) const {
        return binary_ ? qm71::sim::HexBytes(bytes) : "\"" + EscapeBytes(bytes) + "\"";
    }

    void Handle(std::span<const std::byte> bytes) {
        std::vector<std::byte> replies;
        camera_->Receive(bytes, replies);
        const CameraFaults& f = camera_->Faults();
        for (auto& e : camera_->TakeExchanges()) {
            Log("received " + Show(e.command));
            if (e.reply.empty()) {
                Log("no reply");
                continue;
            }
            std::string when;
            if (f.lateMs > 0) when += " after " + std::to_string(f.lateMs) + " ms";
            if (f.piecesMs > 0) when += " in pieces " + std::to_string(f.piecesMs) + " ms apart";
            Log("reply " + Show(e.reply) + when);
            Schedule(std::move(e.reply));
        }
    }

    // Replies leave in the order of their commands, never sooner than the
    // faults allow.
    void Schedule(std::vector<std::byte> reply) {
        const CameraFaults& f = camera_->Faults();
        const std::chrono::milliseconds gap(f.piecesMs);
        auto due = SteadyClock::now() + std::chrono::milliseconds(f.lateMs);
        if (!queue_.empty()) due = std::max(due, queue_.back().due + gap);
        if (f.piecesMs <= 0) {
            queue_.push_back({due, std::move(reply)});
            return;
        }
        for (std::byte b : reply) {
            queue_.push_back({due, {b}});
            due += gap;
        }
    }

    void SendDue() {
        const auto now = SteadyClock::now();
        while (!queue_.empty() && queue_.front().due <= now) {
            std::vector<std::byte>& bytes = queue_.front().bytes;
            const ssize_t n = write(master_, bytes.data(), bytes.size());
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                // The terminal's input queue is full: nobody is reading.
                LogErrno("dropped " + std::to_string(bytes.size()) + " reply bytes");
            } else if (static_cast<std::size_t>(n) < bytes.size()) {
                bytes.erase(bytes.begin(), bytes.begin() + n);
                continue;
            }
            queue_.pop_front();
        }
    }

    int master_;
    std::unique_ptr<qm71::sim::CameraProtocol> camera_;
    bool binary_;
    std::deque<Outgoing> queue_;
};

}  // namespace

int main(int argc, char** argv) {
    qm71::sim::CamsimOptions options;
    const auto commandLine = qm71::HandleCommandLine(
        qm71::sim::kCamsimHelp, {argv + 1, argv + argc}, std::cout, std::cerr,
        [&options](const std::vector<std::string>& args, std::string& error) {
            return qm71::sim::ParseCamsimOptions(args, options, error);
        });
    if (!commandLine.run) return commandLine.exitStatus;

    // Stop signals are blocked except while waiting, so none is lost between
    // the check of the flag and the wait.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigset_t waitMask;
    sigprocmask(SIG_BLOCK, &stopSignals, &waitMask);
    sigdelset(&waitMask, SIGINT);
    sigdelset(&waitMask, SIGTERM);
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);

    Pty pty;
    if (!pty.Open()) return 1;
    Link link;
    if (!options.link.empty() && !link.Create(options.link, pty.slavePath)) return 1;

    std::printf("%s\n", pty.slavePath.c_str());
    std::fflush(stdout);
    Log("serving on " + pty.slavePath +
        (options.link.empty() ? std::string() : " (link " + options.link + ")"));

    std::unique_ptr<qm71::sim::CameraProtocol> camera;
    if (options.sampleProtocol) {
        camera = std::make_unique<qm71::sim::SampleCameraProtocol>(options.sampleRefusedCommand);
    } else {
        camera = std::make_unique<AreaCameraProtocol>();
    }
    Server server(pty.master, std::move(camera), options.faults, options.sampleProtocol);
    const int status = server.Run(waitMask);
    Log("stopped");
    return status;
}
