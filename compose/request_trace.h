#pragma once

#include <memory>
#include <ostream>
#include <string>

#include "platform/clock.h"
#include "platform/driver_channel.h"

namespace qm71 {

// Passes every request on to the channel behind it and writes one line per
// request to `out`, with the values as they come back:
//
//   sim: SetParameter 35040 640 -> 35040 640
//   sim: LineCount 1 0 -> 17 0
//   sim: LineRequest 1250 words base 800
//   sim: TriggerControl 1 0 -> 1 0 failed
//
// Values are decimal; "failed" marks a request the channel refused. A host
// polls LineCount without pause and sends a LineRequest per row, so lines are
// collected in a buffer and written out when it is full, when 50 ms have
// passed since the last write, and at once after every request that is not
// part of reading rows (so a host that stops shows its last request), and when
// the card is closed.
class TracingChannel final : public DriverChannel {
  public:
    TracingChannel(std::unique_ptr<DriverChannel> inner, std::ostream& out, Clock& clock);
    ~TracingChannel() override;

    bool Open() override;
    bool Command(DriverRequest& request) override;
    bool TransferLine(const LineRequest& request) override;
    void Close() override;

  private:
    void Append(std::string_view text);
    void Append(unsigned value);
    void EndLine(bool ok, bool flushNow);
    void Flush();

    std::unique_ptr<DriverChannel> inner_;
    std::ostream& out_;
    Clock& clock_;
    std::string buffer_;
    Clock::Duration lastFlush_;
};

}  // namespace qm71
