#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace qm71::sim::testing {

using Ms = std::chrono::milliseconds;

// qm71-camsim started as a child process with its standard output and error
// on pipes. The destructor kills it if a test did not end it.
class CamsimProcess {
  public:
    CamsimProcess() = default;
    ~CamsimProcess();
    CamsimProcess(const CamsimProcess&) = delete;
    CamsimProcess& operator=(const CamsimProcess&) = delete;

    // Starts the program and reads the pty path from its first output line.
    bool Start(const std::vector<std::string>& args);
    const std::string& PtyPath() const { return ptyPath_; }
    // Processor time the program has used so far, in clock ticks; -1 if unknown.
    long CpuTicks() const;
    // Waits until a line of standard error contains `text`; the lines looked
    // at are used up.
    bool WaitForLog(const std::string& text, Ms timeout);
    const std::string& LogSoFar() const { return errText_; }
    // Sends the signal and waits for the exit; nullopt when it did not end
    // normally in time.
    std::optional<int> Stop(int signal, Ms timeout);

  private:
    pid_t pid_ = -1;
    int outFd_ = -1;
    int errFd_ = -1;
    std::string ptyPath_;
    std::string errText_;
    std::size_t errSeen_ = 0;
};

// The test's end of the line: the pty slave opened raw with plain POSIX calls.
class SlaveEnd {
  public:
    explicit SlaveEnd(const std::string& path);
    ~SlaveEnd();
    SlaveEnd(const SlaveEnd&) = delete;
    SlaveEnd& operator=(const SlaveEnd&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    bool Send(const std::string& text);
    // Reads until `count` bytes came or `timeout` passed; each chunk the
    // terminal handed over is kept with the time it came.
    struct Chunk {
        std::string bytes;
        std::chrono::steady_clock::time_point at;
    };
    std::vector<Chunk> ReadChunks(std::size_t count, Ms timeout);
    std::string Read(std::size_t count, Ms timeout);

  private:
    int fd_ = -1;
};

}  // namespace qm71::sim::testing
