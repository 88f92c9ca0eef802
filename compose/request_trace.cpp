#include "compose/request_trace.h"

#include <charconv>
#include <chrono>

namespace qm71 {

namespace {

constexpr std::size_t kBufferBytes = 64 * 1024;
constexpr Clock::Duration kFlushInterval = std::chrono::milliseconds(50);

// The requests of the row loops; everything else is rare and shown at once.
bool RowLoopRequest(SubCommand c) {
    return c == SubCommand::LineCount || c == SubCommand::BeginReadout ||
           c == SubCommand::TriggerControl;
}

}  // namespace

TracingChannel::TracingChannel(std::unique_ptr<DriverChannel> inner, std::ostream& out,
                               Clock& clock)
    : inner_(std::move(inner)), out_(out), clock_(clock), lastFlush_(clock.Now()) {
    buffer_.reserve(kBufferBytes + 128);
}

TracingChannel::~TracingChannel() {
    Flush();
}

bool TracingChannel::Open() {
    const bool ok = inner_->Open();
    Append("sim: open");
    EndLine(ok, true);
    return ok;
}

bool TracingChannel::Command(DriverRequest& request) {
    const DriverRequest sent = request;
    const bool ok = inner_->Command(request);
    Append("sim: ");
    Append(SubCommandName(sent.subCommand));
    if (SubCommandName(sent.subCommand) == "?") {
        Append(" ");
        Append(static_cast<unsigned>(sent.subCommand));
    }
    for (const unsigned v : {sent.value1, sent.value2}) {
        Append(" ");
        Append(v);
    }
    Append(" ->");
    for (const unsigned v : {request.value1, request.value2}) {
        Append(" ");
        Append(v);
    }
    EndLine(ok, !RowLoopRequest(sent.subCommand));
    return ok;
}

bool TracingChannel::TransferLine(const LineRequest& request) {
    const bool ok = inner_->TransferLine(request);
    Append("sim: LineRequest ");
    Append(request.count);
    Append(" words base ");
    Append(request.cardBase);
    EndLine(ok, false);
    return ok;
}

void TracingChannel::Close() {
    inner_->Close();
    Append("sim: close");
    EndLine(true, true);
}

void TracingChannel::Append(std::string_view text) {
    buffer_.append(text);
}

void TracingChannel::Append(unsigned value) {
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    buffer_.append(digits, result.ptr);
}

void TracingChannel::EndLine(bool ok, bool flushNow) {
    if (!ok) Append(" failed");
    buffer_.push_back('\n');
    if (flushNow || buffer_.size() >= kBufferBytes || clock_.Now() - lastFlush_ >= kFlushInterval)
        Flush();
}

void TracingChannel::Flush() {
    lastFlush_ = clock_.Now();
    if (buffer_.empty()) return;
    out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    out_.flush();
    buffer_.clear();
}

}  // namespace qm71
