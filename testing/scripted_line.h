#pragma once

#include <algorithm>
#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "platform/serial_line.h"

namespace qm71::testing {

// An in-memory camera line. It records every write, answers reads from a
// queue of pending bytes, and fails on request. A reply longer than a read
// stays queued for the next read, as late bytes do on a real line.
class ScriptedLine final : public SerialLine {
  public:
    // Set up by the test.
    std::set<std::string> missingPorts;  // Open fails for these names
    bool failGetSettings = false;
    bool failSetSettings = false;
    bool failSetTimeouts = false;
    SerialSettings reportedSettings{};              // what GetSettings hands out
    std::map<std::string, std::size_t> failWrites;  // command -> bytes reported as sent
    // Answers a command that went out; its reply is queued for the next reads.
    std::function<std::string(const std::string&)> responder;

    void QueueReply(std::string bytes) { pending_.push_back(std::move(bytes)); }

    // What happened.
    std::vector<std::string> opened, writes;
    std::vector<std::size_t> readSizes;
    std::vector<SerialSettings> settingsSet;
    std::vector<SerialTimeouts> timeoutsSet;
    int closeCalls = 0;

    bool Open(const std::string& name) override {
        if (missingPorts.count(name) != 0 || open_) return false;
        opened.push_back(name);
        return open_ = true;
    }
    bool IsOpen() const override { return open_; }
    bool GetSettings(SerialSettings& settings) override {
        if (!failGetSettings) settings = reportedSettings;
        return !failGetSettings;
    }
    bool SetSettings(const SerialSettings& settings) override {
        settingsSet.push_back(settings);
        return !failSetSettings;
    }
    bool SetTimeouts(const SerialTimeouts& timeouts) override {
        timeoutsSet.push_back(timeouts);
        return !failSetTimeouts;
    }
    bool SetQueueSizes(std::size_t, std::size_t) override { return true; }
    bool Write(std::span<const std::byte> data, std::size_t& written) override {
        const std::string text(reinterpret_cast<const char*>(data.data()), data.size());
        const auto failing = failWrites.find(text);
        if (!open_ || failing != failWrites.end()) {
            written = open_ ? failing->second : 0;
            return false;
        }
        written = data.size();
        writes.push_back(text);
        if (responder) QueueReply(responder(text));
        return true;
    }
    std::size_t Read(std::span<std::byte> data) override {
        readSizes.push_back(data.size());
        if (pending_.empty()) return 0;  // silence until the time-out
        std::string& next = pending_.front();
        const std::size_t n = std::min(next.size(), data.size());
        std::copy_n(reinterpret_cast<const std::byte*>(next.data()), n, data.begin());
        next.erase(0, n);
        if (next.empty()) pending_.pop_front();
        return n;
    }
    void Close() override {
        ++closeCalls;
        open_ = false;
    }

  private:
    bool open_ = false;
    std::deque<std::string> pending_;
};

}  // namespace qm71::testing
