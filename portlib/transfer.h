#pragma once

#include <cstdint>

#include "portlib/qm71port.h"

namespace qm71::portlib {

// What tells the eleven entries apart: geometry (fixed, or 0 to take it from
// the descriptor), transfer width, row order, averaging.
struct Layout {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    bool sixteenBit = false;
    bool bottomUp = false;
    bool averaged = false;
};

// The one transfer routine behind every entry.
int Transfer(const FrameDescriptor* frame, const Layout& layout);

}  // namespace qm71::portlib
