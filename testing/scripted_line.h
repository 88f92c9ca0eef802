#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <functional>
#include <map>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "platform/serial_line.h"

namespace qm71::testing {

// An in-memory serial line with a scripted far end. It records what is done
// to it and fails on request. A read that finds nothing waits out its total
// time-out in simulated time, asking the wait watcher as a real line does.
class ScriptedLine final : public SerialLine {
  public:
    std::set<std::string> missingPorts;  // Open fails for these names
    bool failGetSettings = false, failSetSettings = false, failSetTimeouts = false;
    bool failReads = false;                         // every read fails at once (a hang-up)
    SerialSettings reportedSettings{};              // what GetSettings hands out
    std::map<std::string, std::size_t> failWrites;  // command -> bytes reported as sent
    // The reply to a command that went out, there at once; empty: silence.
    std::map<std::string, std::string> replies;
    std::string otherReply = "\r";  // to every command not in `replies`
    // Bytes that arrive unasked (a late reply).
    void Arrive(const std::string& bytes) { pending_ += bytes; }

    std::vector<std::string> opened, writes;  // what happened
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
        if (!failSetTimeouts) timeouts_ = timeouts;
        return !failSetTimeouts;
    }
    void SetWaitWatcher(SerialWaitWatcher* watcher) override { watcher_ = watcher; }
    void DiscardInput() override { pending_.clear(); }
    bool Write(std::span<const std::byte> data, std::size_t& written) override {
        const std::string text(reinterpret_cast<const char*>(data.data()), data.size());
        const auto failing = failWrites.find(text);
        if (!open_ || failing != failWrites.end()) {
            written = open_ ? failing->second : 0;
            return false;
        }
        written = data.size();
        writes.push_back(text);
        const auto reply = replies.find(text);
        Arrive(reply != replies.end() ? reply->second : otherReply);
        return true;
    }
    bool Read(std::span<std::byte> data, std::size_t& read) override {
        readSizes.push_back(data.size());
        read = 0;
        if (failReads) return false;
        if (pending_.empty() && watcher_ != nullptr) {
            const auto total = std::chrono::milliseconds(timeouts_.readTotalPerByteMs *
                                                             static_cast<long long>(data.size()) +
                                                         timeouts_.readTotalConstantMs);
            for (auto waited = kSerialWatchInterval; waited < total;
                 waited += kSerialWatchInterval) {
                if (!watcher_->KeepWaiting(opened.back(), waited)) break;
            }
            if (kSerialWatchInterval < total) watcher_->WaitEnded();  // it was asked
        }
        read = std::min(pending_.size(), data.size());
        std::copy_n(reinterpret_cast<const std::byte*>(pending_.data()), read, data.begin());
        pending_.erase(0, read);
        return true;
    }
    void Close() override {
        ++closeCalls;
        open_ = false;
    }

  private:
    bool open_ = false;
    std::string pending_;
    SerialTimeouts timeouts_{};
    SerialWaitWatcher* watcher_ = nullptr;
};

// A wait watcher that records what it is told and gives up on request.
struct RecordingWatcher final : SerialWaitWatcher {
    std::function<bool()> keepWaiting = [] { return true; };
    std::vector<std::string> ports;  // one entry each time it is asked
    int ended = 0;
    bool KeepWaiting(const std::string& port, std::chrono::milliseconds) override {
        ports.push_back(port);
        return keepWaiting();
    }
    void WaitEnded() override { ++ended; }
};

}  // namespace qm71::testing
