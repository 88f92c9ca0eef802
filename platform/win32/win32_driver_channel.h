#pragma once

#include "platform/driver_channel.h"

namespace qm71 {

// The card's kernel driver \\.\QM71Dev: each request is one synchronous
// device-control call with its record as input and output block.
class Win32DriverChannel final : public DriverChannel {
  public:
    Win32DriverChannel() = default;
    Win32DriverChannel(const Win32DriverChannel&) = delete;
    Win32DriverChannel& operator=(const Win32DriverChannel&) = delete;
    ~Win32DriverChannel() override { Close(); }

    bool Open() override;
    bool Command(DriverRequest& request) override;
    // Fails, sending nothing, for a destination the record's 32-bit address
    // cannot hold.
    bool TransferLine(const LineRequest& request) override;
    void Close() override;

  private:
    void* device_ = nullptr;  // the HANDLE; null while closed
};

}  // namespace qm71
