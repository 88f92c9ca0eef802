#pragma once

#include <iosfwd>
#include <memory>
#include <string_view>

#include "platform/driver_channel.h"

namespace qm71 {

// The card's own driver as this system offers it to the programs.
struct SystemDriver {
    // The QM71_DEVICE name that chooses it; empty where the system has none.
    std::string_view name;
    // A channel to it, or null with the reason said on `messages` where this
    // build cannot use it.
    std::unique_ptr<DriverChannel> (*make)(std::ostream& messages) = nullptr;
};

// This system's: none on Linux, the card's kernel driver on Windows.
SystemDriver ThisSystemsDriver();

}  // namespace qm71
