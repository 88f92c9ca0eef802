#pragma once

#include "common/driver.h"

namespace qm71 {

// The card's kernel driver: one open handle, two device-control requests.
class DriverChannel {
  public:
    virtual ~DriverChannel() = default;
    // Opens the driver's device. False: no driver on this machine.
    virtual bool Open() = 0;
    // The 14-byte request: both value words go in and come back.
    virtual bool Command(DriverRequest& request) = 0;
    // The 60-byte request: the driver writes one row of `request.count` 32-bit
    // words at `request.destination`.
    virtual bool TransferLine(const LineRequest& request) = 0;
    virtual void Close() = 0;
};

}  // namespace qm71
