#include "sim/camera/emulated_serial_line.h"

#include <algorithm>
#include <cstdint>

namespace qm71::sim {

namespace {
void Append(std::vector<std::byte>& to, std::vector<std::byte>& from) {
    to.insert(to.end(), from.begin(), from.end());
    from.clear();
}
}  // namespace

EmulatedSerialLine::EmulatedSerialLine(CameraProtocol& camera, std::vector<std::string> portNames)
    : camera_(camera), portNames_(std::move(portNames)) {}

void EmulatedSerialLine::SetBusy(const std::string& name, bool busy) {
    std::erase(busy_, name);
    if (busy) busy_.push_back(name);
}

bool EmulatedSerialLine::Open(const std::string& name) {
    if (open_) return false;  // this handle already holds a port
    if (std::ranges::find(portNames_, name) == portNames_.end()) return false;
    if (std::ranges::find(busy_, name) != busy_.end()) return false;
    open_ = true;
    portName_ = name;
    ++openCount_;
    // A new handle starts with empty driver queues.
    ready_.clear();
    fresh_.clear();
    deferred_.clear();
    return true;
}

bool EmulatedSerialLine::GetSettings(SerialSettings& settings) {
    if (!open_ || failures_.getSettings) return false;
    settings = settings_;
    return true;
}

bool EmulatedSerialLine::SetSettings(const SerialSettings& settings) {
    if (!open_ || failures_.setSettings) return false;
    settings_ = settings;
    return true;
}

bool EmulatedSerialLine::SetTimeouts(const SerialTimeouts& timeouts) {
    if (!open_ || failures_.setTimeouts) return false;
    timeouts_ = timeouts;
    return true;
}

bool EmulatedSerialLine::SetQueueSizes(std::size_t, std::size_t) {
    return open_;
}

bool EmulatedSerialLine::Write(std::span<const std::byte> data, std::size_t& written) {
    written = 0;
    if (!open_) return false;
    if (failures_.write) {
        written = std::min(failures_.writtenOnFailure, data.size());
        return false;
    }
    writes_.push_back(ToText(data));
    // Whatever was still under way has arrived by now.
    Append(ready_, deferred_);
    Append(ready_, fresh_);
    camera_.Receive(data, fresh_);
    for (Exchange& e : camera_.TakeExchanges()) log_.push_back(std::move(e));
    written = data.size();
    return true;
}

bool EmulatedSerialLine::ReplyMissesRead(std::size_t requested) const {
    const int late = camera_.Faults().lateMs;
    if (late <= 0) return false;
    const std::int64_t total =
        std::int64_t{timeouts_.readTotalPerByteMs} * static_cast<std::int64_t>(requested) +
        timeouts_.readTotalConstantMs;
    return total > 0 && late >= total;
}

std::size_t EmulatedSerialLine::Read(std::span<std::byte> data) {
    if (!open_) return 0;
    Append(ready_, deferred_);
    if (!fresh_.empty()) {
        if (ReplyMissesRead(data.size())) {
            Append(deferred_, fresh_);
        } else {
            Append(ready_, fresh_);
        }
    }
    std::size_t count = std::min(data.size(), ready_.size());
    const int pieces = camera_.Faults().piecesMs;
    if (pieces > 0 && timeouts_.readIntervalMs > 0 && pieces >= timeouts_.readIntervalMs) {
        count = std::min<std::size_t>(count, 1);
    }
    std::copy_n(ready_.begin(), count, data.begin());
    ready_.erase(ready_.begin(), ready_.begin() + static_cast<std::ptrdiff_t>(count));
    return count;
}

void EmulatedSerialLine::Close() {
    if (!open_) return;
    open_ = false;
    ++closeCount_;
}

}  // namespace qm71::sim
