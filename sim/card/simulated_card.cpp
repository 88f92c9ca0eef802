#include "sim/card/simulated_card.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qm71::sim {

namespace {

constexpr int kMaxRows = 0xFFFF;  // LineCount is 16 bits
constexpr int kMaxRowBytes = 1 << 20;

CardOptions Sanitised(CardOptions o) {
    o.rowsPerFrame = std::clamp(o.rowsPerFrame, 1, kMaxRows);
    o.rowBytes = std::clamp(o.rowBytes, 1, kMaxRowBytes);
    if (!std::isfinite(o.fps) || o.fps < 0) o.fps = 0;
    if (o.triggeredPictureLines <= 0 || o.triggeredPictureLines > o.rowsPerFrame)
        o.triggeredPictureLines = o.rowsPerFrame;
    return o;
}

}  // namespace

SimulatedCard::SimulatedCard(Clock& clock, CardOptions options)
    : clock_(clock),
      options_(Sanitised(options)),
      pattern_(options_.rowsPerFrame, options_.rowBytes,
               options_.lineCamera ? TestPattern::Scan::BottomUp : TestPattern::Scan::TopDown),
      origin_(clock.Now()),
      linesParameter_(static_cast<std::uint16_t>(options_.rowsPerFrame)),
      pictureLines_(options_.triggeredPictureLines) {
    if (options_.fps > 0) {
        const double ns = std::min(1e9 / options_.fps, 1e15);
        period_ = Duration(std::max<long long>(std::llround(ns), 1));
        active_ = period_ - period_ / 16;
        linePeriod_ = active_ / options_.rowsPerFrame;
    }
}

void SimulatedCard::DropTriggeredLines() {
    triggered_.clear();
    pictureLine_ = 0;
}

bool SimulatedCard::Open() {
    open_ = true;
    return true;
}

void SimulatedCard::Close() {
    open_ = false;
    armed_ = false;
    DropTriggeredLines();
}

bool SimulatedCard::Command(DriverRequest& request) {
    if (!open_) return false;
    switch (request.subCommand) {
        case SubCommand::QueryBase:
            request.value1 = options_.reportedBase;
            return true;
        case SubCommand::Download:
            request.value1 = static_cast<std::uint16_t>((options_.downloadError & 0xFF) |
                                                        ((options_.downloadAttempts & 0xFF) << 8));
            return true;
        case SubCommand::PostDownload:
        case SubCommand::Commit:
            return true;
        case SubCommand::BeginTable:
            tableSize_ = request.value1;
            tableLoaded_ = 0;
            return true;
        case SubCommand::TableEntries:
            if (tableLoaded_ + 2 > tableSize_) return false;
            tableLoaded_ += 2;
            return true;
        case SubCommand::SetParameter:
            if (request.value1 != kLinesParameter) return false;
            linesParameter_ = request.value2;
            DropTriggeredLines();
            return true;
        case SubCommand::ArmFrame: {
            Duration start = clock_.Now();
            if (period_.count() > 0) {
                const auto elapsed = std::max<long long>((start - origin_).count(), 0);
                const auto p = period_.count();
                start = origin_ + Duration((elapsed + p - 1) / p * p);
            }
            StartCapture(start);
            return true;
        }
        case SubCommand::LineCount:
            request.value1 = LineCount();
            return true;
        case SubCommand::BeginReadout:
            if (!LineTriggerMode()) row_ = 0;
            return true;
        case SubCommand::TriggerControl: {
            if (request.value1 != 0) return false;
            const bool rising = (triggerBits_ & 1) == 0 && (request.value2 & 1) != 0;
            triggerBits_ = request.value2;
            if (rising && !options_.noTrigger) SoftwareTrigger();
            return true;
        }
        case SubCommand::CloseCard:
            armed_ = false;
            DropTriggeredLines();
            triggerBits_ = 0;
            return true;
    }
    return false;
}

void SimulatedCard::StartCapture(Duration start) {
    armed_ = true;
    arrived_ = 0;
    captureStart_ = start;
    captureNumber_ = nextNumber_++;
    row_ = 0;
}

void SimulatedCard::SoftwareTrigger() {
    if (!options_.lineCamera) {
        StartCapture(clock_.Now());
    } else if (!LineTriggerMode()) {
        // A free-running line camera takes no notice of the trigger input.
    } else if (std::ssize(triggered_) < options_.rowsPerFrame) {
        // The camera takes one line time per line; a trigger while it is still
        // busy waits for the line before.
        lastLineReady_ = std::max(clock_.Now(), lastLineReady_) + linePeriod_;
        triggered_.push_back(lastLineReady_);
    }
}

long long SimulatedCard::RowsAvailable(long long needed) {
    const long long remaining = options_.stallAfterRows < 0
                                    ? std::numeric_limits<long long>::max()
                                    : std::max(options_.stallAfterRows - rowsTransferred_, 0LL);
    if (LineTriggerMode()) {
        const auto ready = std::upper_bound(triggered_.begin(), triggered_.end(), clock_.Now());
        return std::min<long long>(ready - triggered_.begin(), remaining);
    }
    if (!armed_) return 0;
    const long long rows = options_.rowsPerFrame;
    if (arrived_ < std::min(needed, rows)) {
        const Duration elapsed = clock_.Now() - captureStart_;
        if (elapsed.count() < 0) {
            arrived_ = 0;
        } else if (elapsed < active_) {
            arrived_ = elapsed.count() * rows / active_.count();
        } else {
            arrived_ = rows;
        }
    }
    return std::min(arrived_, row_ + std::min(remaining, rows));
}

std::uint16_t SimulatedCard::LineCount() {
    return static_cast<std::uint16_t>(std::min<long long>(RowsAvailable(), kMaxRows));
}

bool SimulatedCard::TransferLine(const LineRequest& request) {
    const std::size_t bytes = static_cast<std::size_t>(request.count) * 4;
    if (!open_ || request.destination == nullptr || bytes == 0 ||
        bytes > static_cast<std::size_t>(options_.rowBytes))
        return false;
    if (RowsAvailable(row_ + 1) <= (LineTriggerMode() ? 0 : row_)) return false;

    long long row = row_;
    std::uint32_t frame = captureNumber_;
    if (LineTriggerMode()) {
        triggered_.pop_front();
        if (pictureLine_ == 0) triggeredPicture_ = nextNumber_++;
        frame = triggeredPicture_;
        row = pictureLine_;
        pictureLine_ = (pictureLine_ + 1) % pictureLines_;
    } else {
        ++row_;
    }
    pattern_.Render(frame, static_cast<int>(row), request.destination, bytes);
    ++rowsTransferred_;
    return true;
}

}  // namespace qm71::sim
